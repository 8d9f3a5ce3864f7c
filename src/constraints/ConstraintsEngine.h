#pragma once
// Tests a proposed change of selections against the declared constraints and searches
// for a conflict-free set of selections.

#include <memory>
#include <queue>
#include <vector>

#include "constraints/KVCache.h"

class ConstraintForest;
class ItemConstraintList;
class KeyForest;

class ConstraintsEngine {
 public:
  ConstraintsEngine() = default;
  // None of the four is owned; the engine sees later changes to them.
  ConstraintsEngine(const KVCache* current, const ConstraintForest* forest, const KeyForest* keys,
                    const KVCache* locked);
  ConstraintsEngine(const ConstraintsEngine&) = delete;
  ConstraintsEngine& operator=(const ConstraintsEngine&) = delete;
  ~ConstraintsEngine();

  // Conflicts of the delta's own constraint lists with the current selections once the
  // delta is applied, and the other options of the conflicting keys.
  _KVErrorSet Test(const KVCache* delta);
  // The first pair of the option's own list, in declaration order, that is
  // selected once the key takes the option: the other side of the first
  // constraint that forbids it. (-1, -1) when none does.
  KVCache::KV FirstConflict(long key, long option) const;
  // Changes the candidate until it tests free of conflicts or the search bounds are met;
  // with keepGiven the keys the candidate holds when the search starts keep their
  // options.
  _KVErrorSet Solve(KVCache* candidate, bool keepGiven);
  _KVErrorSet RSolve(KVCache* candidate, bool keepGiven);
  // Removes the pairs that touch a locked key and returns those keys with their
  // current options.
  KVCache TestLockedStatus(KVCache* pairs);

  // The key's options that the current selections exclude.
  KVCache ListCurrentConstraints(long key);
  // The key with its last option excluded by pairs of state (with screen, only by all
  // of state).
  KVCache ListScreenedConstraints(KVCache state, bool screen, long key);
  // The options of key2 that exclude every option of key1 except option1.
  KVCache ListBlockingConstraints(long key1, long option1, long key2);

  void purge();

 private:
  void AddConflicts(const ItemConstraintList& list, const KVCache& changes,
                    _KVErrorSet& result) const;
  void AddAlternatives(const KVCache::KV& conflict, const std::vector<KVCache::KV>& excluded,
                       _KVErrorSet& result) const;
  bool IsSelected(const KVCache& changes, const KVCache::KV& kv) const;
  bool IsCurrent(const KVCache::KV& kv) const;
  bool IsLocked(const KVCache::KV& kv) const;
  bool WasVisited(const KVCache& state) const;
  long CurrentOption(long key) const;
  const std::vector<long>& OptionsOf(long key) const;
  std::unique_ptr<ItemConstraintList> ListOf(long key, long option) const;

  std::queue<KVCache> mQueue;
  std::vector<KVCache> mVisited;
  const KVCache* mCurrent = nullptr;
  const ConstraintForest* mForest = nullptr;
  const KeyForest* mKeys = nullptr;
  const KVCache* mLocked = nullptr;
  bool mOverflow = false;
  long mDepth = 0;
  KVCache mGiven;  // the candidate as the search started
};
