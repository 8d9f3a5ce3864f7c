#pragma once
// The option tree behind the pane's shortcut list: the document's groups with
// the basic-panel options in each, and the user's shortcuts, each knowing the
// tree item of its option. Identifiers: group g (from 0) is g + 1, item i of
// that group (g + 1) * 100 + i; 99 and below are groups.
//
// Keywords live in 64-byte fields where the tree is stored: a keyword that
// needs more than 63 bytes is left out whole, never cut, because a cut one
// would name another option or none.

#include <cstddef>
#include <string>
#include <vector>

#include "cf/CFRef.h"
#include "cf/CoreFoundation.h"

class PPDTree {
 public:
  static constexpr size_t kMaxGroups = 10;
  static constexpr size_t kMaxItems = 30;
  static constexpr size_t kMaxShortcuts = 99;
  static constexpr size_t kKeywordSize = 64;
  static constexpr UInt32 kLastGroupId = 99;
  static constexpr UInt32 kNoItem = 0;

  struct Item {
    CFRef<CFStringRef> name;
    std::string keyword;
  };
  struct Group {
    CFRef<CFStringRef> name;
    std::string keyword;
    std::vector<Item> items;
  };
  struct Shortcut {
    CFRef<CFStringRef> name;
    std::string keyword;
    UInt32 itemId = kNoItem;
  };

  // The one tree of the process, shared by every pane.
  static PPDTree& Shared();

  static UInt32 GroupId(size_t group) { return UInt32(group + 1); }
  static UInt32 ItemId(size_t group, size_t item) { return UInt32((group + 1) * 100 + item); }
  static bool IsGroupId(UInt32 id) { return id != kNoItem && id <= kLastGroupId; }
  static bool FitsKeyword(const char* keyword);

  void Clear();
  void ClearShortcuts() { mShortcuts.clear(); }
  // Each false, nothing added, when the list is full or the keyword does not fit.
  bool AddShortcut(const char* keyword, CFStringRef name, UInt32 itemId = kNoItem);
  bool AddGroup(const char* keyword, CFStringRef name);
  // The new item's identifier, kNoItem when not added.
  UInt32 AddItem(size_t group, const char* keyword, CFStringRef name);
  void RemoveEmptyGroups();

  size_t GroupCount() const { return mGroups.size(); }
  size_t ShortcutCount() const { return mShortcuts.size(); }
  const Group& GroupAt(size_t index) const { return mGroups[index]; }
  const Shortcut& ShortcutAt(size_t index) const { return mShortcuts[index]; }
  // The index of the group with that keyword, or GroupCount().
  size_t FindGroup(const char* keyword) const;
  Shortcut* FindShortcut(const char* keyword);
  // Null for a group identifier or one the tree does not have.
  const Item* ItemOf(UInt32 id) const;
  // The display name of the group or item, null when there is none.
  CFStringRef NameOf(UInt32 id) const;
  // The identifiers of the group's items, none for an unknown group.
  std::vector<UInt32> ItemIdsOf(UInt32 groupId) const;
  std::vector<std::string> ShortcutKeywords() const;

 private:
  std::vector<Group> mGroups;
  std::vector<Shortcut> mShortcuts;
};

// The process tree's shortcut with that keyword, or null.
PPDTree::Shortcut* GetShortcutFromKeyword(const char* keyword);
