#include "constraints/ConstraintForest.h"

ConstraintForest::~ConstraintForest() = default;

void ConstraintForest::insert(long key1, long option1, long key2, long option2, ConstraintType) {
  insert(key1, option1, KV(key2, option2));
}

void ConstraintForest::insert(long key1, long option1, const KV& excluded) {
  mTrees.try_emplace(key1, key1).first->second.insert(option1, excluded);
  mUnsettled = true;
}

void ConstraintForest::Settle() const {
  if (!mUnsettled) return;
  for (auto& entry : mTrees) entry.second.Settle();
  mUnsettled = false;
}

std::unique_ptr<ItemConstraintList> ConstraintForest::GetConstraintList(long key,
                                                                        long option) const {
  Settle();
  auto found = mTrees.find(key);
  if (found == mTrees.end()) return nullptr;
  return found->second.GetItemConstraintList(option);
}

bool ConstraintForest::DisableConstraints(long key1, long option1, long key2, long option2) {
  return Change(&KeyConstraintTree::DisableConstraints, key1, option1, key2, option2);
}

bool ConstraintForest::EnableConstraints(long key1, long option1, long key2, long option2) {
  return Change(&KeyConstraintTree::EnableConstraints, key1, option1, key2, option2);
}

bool ConstraintForest::Change(TreeChange change, long key1, long option1, long key2, long option2) {
  Settle();
  if (key1 == -1) {
    for (auto& entry : mTrees) (entry.second.*change)(-1, key2, option2);
    return true;
  }
  auto found = mTrees.find(key1);
  if (found == mTrees.end()) return false;
  std::set<KV> reverse = (found->second.*change)(option1, key2, option2);
  // A whole list that changed also changes the lists that name it back, so that a
  // constraint declared in both directions goes and comes as one. The reverse call
  // names key1 as its key2, so it changes single pairs and the chain stops there.
  if (key1 >= 0) {
    for (const KV& kv : reverse) Change(change, kv.first, kv.second, key1, option1);
  }
  return true;
}

void ConstraintForest::clear() {
  mTrees.clear();
  mUnsettled = false;
}
