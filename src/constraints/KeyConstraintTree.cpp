#include "constraints/KeyConstraintTree.h"

#include <algorithm>
#include <iterator>
#include <vector>

namespace {

bool Selects(long selector, long id) { return selector == -1 || selector == id; }

bool PairMatches(const KeyConstraintTree::KV& kv, long key, long option) {
  return kv.first == key && Selects(option, kv.second);
}

ItemConstraintList Without(const ItemConstraintList& list, long key, long option) {
  ItemConstraintList kept(list.mOption);
  for (const auto& kv : list.pairs()) {
    if (!PairMatches(kv, key, option)) kept.insert(kv);
  }
  return kept;
}

}  // namespace

KeyConstraintTree::~KeyConstraintTree() = default;

void KeyConstraintTree::insert(long option, const KV& excluded) {
  auto found = mActive.lower_bound(option);
  if (found == mActive.end() || found->first != option) {
    found = mActive.emplace_hint(found, option,
                                  ItemConstraintList(option, mActive.get_allocator().resource()));
  }
  if (found->second) found->second->insert(excluded);
}

std::unique_ptr<ItemConstraintList> KeyConstraintTree::GetItemConstraintList(
    long option) const {
  auto list = std::make_unique<ItemConstraintList>(option);
  auto first = option == -1 ? mActive.begin() : mActive.find(option);
  auto last = option == -1 || first == mActive.end() ? mActive.end() : std::next(first);
  for (auto entry = first; entry != last; ++entry) {
    if (entry->second) *list += *entry->second;
  }
  return list;
}

std::set<KeyConstraintTree::KV> KeyConstraintTree::DisableConstraints(long option1,
                                                                       long key2,
                                                                       long option2) {
  std::set<KV> removed;
  for (auto& [option, active] : mActive) {
    if (!Selects(option1, option)) continue;
    Save(option, ListOf(active));
    if (!active) continue;
    if (key2 < 0) {
      removed.insert(active->pairs().begin(), active->pairs().end());
      active.reset();
    } else {
      active = Without(*active, key2, option2);
    }
  }
  return removed;
}

std::set<KeyConstraintTree::KV> KeyConstraintTree::EnableConstraints(long option1,
                                                                      long key2,
                                                                      long option2) {
  std::set<KV> restored;
  for (const auto& [option, saved] : mSaved) {
    if (!Selects(option1, option)) continue;
    std::optional<ItemConstraintList>& active = mActive[option];
    if (key2 < 0) {
      active = *saved;
      restored.insert(saved->pairs().begin(), saved->pairs().end());
    } else {
      active = Restore(ListOf(active), *saved, key2, option2);
    }
  }
  return restored;
}

// Merges into the saved copy instead of replacing it: a second disabling of the same
// option would otherwise overwrite the pairs the first one removed, and they could never
// be enabled again.
void KeyConstraintTree::Save(long option, const ItemConstraintList* active) {
  std::unique_ptr<ItemConstraintList>& saved = mSaved[option];
  if (!saved) saved = std::make_unique<ItemConstraintList>(option);
  if (!active) return;
  std::map<KV, long> alreadySaved;
  for (const KV& kv : saved->pairs()) ++alreadySaved[kv];
  for (const KV& kv : active->pairs()) {
    long& count = alreadySaved[kv];
    if (count > 0) {
      --count;
    } else {
      saved->insert(kv);
    }
  }
}

ItemConstraintList KeyConstraintTree::Restore(const ItemConstraintList* active,
                                              const ItemConstraintList& saved, long key2,
                                              long option2) {
  std::vector<KV> own;
  if (active) own.assign(active->pairs().begin(), active->pairs().end());
  std::vector<KV> back;
  for (const KV& kv : saved.pairs()) {
    if (PairMatches(kv, key2, option2)) back.push_back(kv);
  }
  std::sort(own.begin(), own.end());
  std::sort(back.begin(), back.end());
  std::vector<KV> merged;
  std::set_union(own.begin(), own.end(), back.begin(), back.end(),
                 std::back_inserter(merged));
  ItemConstraintList list(saved.mOption);
  for (const KV& kv : merged) list.insert(kv);
  return list;
}
