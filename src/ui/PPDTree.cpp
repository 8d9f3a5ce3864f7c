#include "ui/PPDTree.h"

#include <algorithm>
#include <cstring>

namespace {

CFRef<CFStringRef> Retained(CFStringRef name) { return CFRef<CFStringRef>::Retain(name); }

}  // namespace

PPDTree& PPDTree::Shared() {
  static PPDTree tree;
  return tree;
}

bool PPDTree::FitsKeyword(const char* keyword) {
  return keyword != nullptr && keyword[0] != '\0' && std::strlen(keyword) < kKeywordSize;
}

void PPDTree::Clear() {
  mGroups.clear();
  mShortcuts.clear();
}

bool PPDTree::AddShortcut(const char* keyword, CFStringRef name, UInt32 itemId) {
  if (mShortcuts.size() >= kMaxShortcuts || !FitsKeyword(keyword)) return false;
  mShortcuts.push_back({Retained(name), keyword, itemId});
  return true;
}

bool PPDTree::AddGroup(const char* keyword, CFStringRef name) {
  if (mGroups.size() >= kMaxGroups || !FitsKeyword(keyword)) return false;
  mGroups.push_back({Retained(name), keyword, {}});
  return true;
}

UInt32 PPDTree::AddItem(size_t group, const char* keyword, CFStringRef name) {
  if (group >= mGroups.size() || mGroups[group].items.size() >= kMaxItems || !FitsKeyword(keyword))
    return kNoItem;
  mGroups[group].items.push_back({Retained(name), keyword});
  return ItemId(group, mGroups[group].items.size() - 1);
}

// Shortcuts name items by identifier, which moves with its group: they are
// renumbered along.
void PPDTree::RemoveEmptyGroups() {
  std::vector<Group> kept;
  std::vector<UInt32> newIdBase(mGroups.size(), kNoItem);
  for (size_t g = 0; g < mGroups.size(); ++g) {
    if (mGroups[g].items.empty()) continue;
    newIdBase[g] = ItemId(kept.size(), 0);
    kept.push_back(std::move(mGroups[g]));
  }
  for (Shortcut& shortcut : mShortcuts) {
    if (shortcut.itemId < 100) continue;
    const size_t group = shortcut.itemId / 100 - 1;
    shortcut.itemId = group < newIdBase.size() && newIdBase[group] != kNoItem
                          ? newIdBase[group] + shortcut.itemId % 100
                          : kNoItem;
  }
  mGroups = std::move(kept);
}

size_t PPDTree::FindGroup(const char* keyword) const {
  for (size_t g = 0; g < mGroups.size(); ++g)
    if (keyword != nullptr && mGroups[g].keyword == keyword) return g;
  return mGroups.size();
}

PPDTree::Shortcut* PPDTree::FindShortcut(const char* keyword) {
  if (keyword == nullptr) return nullptr;
  for (Shortcut& shortcut : mShortcuts)
    if (shortcut.keyword == keyword) return &shortcut;
  return nullptr;
}

const PPDTree::Item* PPDTree::ItemOf(UInt32 id) const {
  if (id < 100) return nullptr;
  const size_t group = id / 100 - 1;
  const size_t item = id % 100;
  if (group >= mGroups.size() || item >= mGroups[group].items.size()) return nullptr;
  return &mGroups[group].items[item];
}

CFStringRef PPDTree::NameOf(UInt32 id) const {
  if (IsGroupId(id)) return id <= mGroups.size() ? mGroups[id - 1].name.get() : nullptr;
  const Item* item = ItemOf(id);
  return item != nullptr ? item->name.get() : nullptr;
}

std::vector<UInt32> PPDTree::ItemIdsOf(UInt32 groupId) const {
  std::vector<UInt32> ids;
  if (!IsGroupId(groupId) || groupId > mGroups.size()) return ids;
  for (size_t i = 0; i < mGroups[groupId - 1].items.size(); ++i)
    ids.push_back(ItemId(groupId - 1, i));
  return ids;
}

std::vector<std::string> PPDTree::ShortcutKeywords() const {
  std::vector<std::string> keywords;
  for (const Shortcut& shortcut : mShortcuts) keywords.push_back(shortcut.keyword);
  return keywords;
}

PPDTree::Shortcut* GetShortcutFromKeyword(const char* keyword) {
  return PPDTree::Shared().FindShortcut(keyword);
}
