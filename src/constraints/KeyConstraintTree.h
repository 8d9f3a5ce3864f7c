#pragma once
// The constraint lists of one key's options, with the copies that disabling keeps.

#include <map>
#include <memory>
#include <memory_resource>
#include <optional>
#include <set>
#include <utility>

#include "constraints/ItemConstraintList.h"

class KeyConstraintTree {
 public:
  using KV = std::pair<long, long>;

  // The map nodes that hold the lists, and the lists' pairs, come from `pool`, which
  // must outlive the tree.
  explicit KeyConstraintTree(long owner,
                             std::pmr::memory_resource* pool = std::pmr::get_default_resource())
      : mKey(owner), mActive(pool) {}
  KeyConstraintTree(const KeyConstraintTree&) = delete;
  KeyConstraintTree& operator=(const KeyConstraintTree&) = delete;
  virtual ~KeyConstraintTree();

  // An option whose whole list was disabled takes no new pair until it is enabled.
  void insert(long option, const KV& excluded);
  // A new list (the caller owns it) of the option's pairs, or of every option's when
  // the option is -1, options ascending.
  std::unique_ptr<ItemConstraintList> GetItemConstraintList(long option) const;

  // For option1 (-1: every option), removes the pairs of key2 with option2 (-1: any),
  // or the whole list when key2 is negative; returns the pairs of removed whole lists.
  std::set<KV> DisableConstraints(long option1, long key2, long option2);
  // Brings back what DisableConstraints removed, with the same selectors; returns the
  // pairs of restored whole lists.
  std::set<KV> EnableConstraints(long option1, long key2, long option2);

  long mKey;  // the key that owns the tree

 private:
  // A declared document has a list for most of its options: held in the map's own
  // nodes rather than in blocks of their own. An empty optional is a list that
  // was disabled whole.
  using ActiveLists = std::pmr::map<long, std::optional<ItemConstraintList>>;
  using Lists = std::map<long, std::unique_ptr<ItemConstraintList>>;

  static const ItemConstraintList* ListOf(const std::optional<ItemConstraintList>& active) {
    return active ? &*active : nullptr;
  }
  void Save(long option, const ItemConstraintList* active);
  static ItemConstraintList Restore(const ItemConstraintList* active,
                                    const ItemConstraintList& saved, long key2, long option2);

  ActiveLists mActive;
  Lists mSaved;
};
