#pragma once
// Every declared constraint, by the key and option that exclude.

#include <memory>
#include <set>
#include <unordered_map>
#include <utility>
#include <vector>

#include "constraints/ItemConstraintList.h"
#include "constraints/KeyConstraintTree.h"

class ConstraintForest {
 public:
  using KV = std::pair<long, long>;

  ConstraintForest() = default;
  ConstraintForest(const ConstraintForest&) = delete;
  ConstraintForest& operator=(const ConstraintForest&) = delete;
  virtual ~ConstraintForest();

  // While option1 of key1 is chosen, option2 of key2 must not be selected.
  void insert(long key1, long option1, long key2, long option2, ConstraintType type);
  void insert(long key1, long option1, const KV& excluded);
  // Files the pairs inserted since the last time into their lists. Every other
  // operation does it first; a document does it once its declarations are read,
  // so that it holds no queued pairs.
  void Settle() const;

  // A new list (the caller owns it), or null when the key has no constraint at all.
  // Option -1 gives the pairs of every option of the key.
  std::unique_ptr<ItemConstraintList> GetConstraintList(long key, long option) const;

  // -1 selects every key or option. A given key1 also handles the reverse direction of
  // whole lists. True when key1 has constraints or is -1.
  bool DisableConstraints(long key1, long option1, long key2, long option2);
  bool EnableConstraints(long key1, long option1, long key2, long option2);

  void clear();

 private:
  using TreeChange = std::set<KV> (KeyConstraintTree::*)(long, long, long);

  bool Change(TreeChange change, long key1, long option1, long key2, long option2);

  // A document declares tens of thousands of pairs before it asks anything: each
  // tree queues its own and files them in one pass at the first question, rather
  // than one search and one block each.
  mutable bool mUnsettled = false;
  // Hashed: every query fetches a list of some key of the model, and nothing shows the
  // order of the trees. Each tree lives in its node: one block less for each.
  mutable std::unordered_map<long, KeyConstraintTree> mTrees;
};
