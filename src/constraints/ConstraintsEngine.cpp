#include "constraints/ConstraintsEngine.h"

#include <algorithm>
#include <climits>
#include <set>

#include "constraints/ConstraintForest.h"
#include "constraints/ItemConstraintList.h"
#include "constraints/KeyForest.h"

namespace {

// Levels of the search and states waiting in its queue; past these the search gives up
// and reports the conflicts it still has.
constexpr long kSearchBound = 128;

}  // namespace

ConstraintsEngine::ConstraintsEngine(const KVCache* current, const ConstraintForest* forest,
                                     const KeyForest* keys, const KVCache* locked)
    : mCurrent(current), mForest(forest), mKeys(keys), mLocked(locked) {}

ConstraintsEngine::~ConstraintsEngine() { purge(); }

_KVErrorSet ConstraintsEngine::Test(const KVCache* delta) {
  _KVErrorSet result;
  if (delta == nullptr) return result;
  // The delta as it lands on the selections: one pair per key, the last one given.
  KVCache changes;
  for (const KVCache::KV& kv : *delta) changes.Insert(kv.first, kv.second);
  for (const KVCache::KV& kv : *delta) {
    std::unique_ptr<ItemConstraintList> list = ListOf(kv.first, kv.second);
    if (list) AddConflicts(*list, changes, result);
  }
  return result;
}

KVCache::KV ConstraintsEngine::FirstConflict(long key, long option) const {
  std::unique_ptr<ItemConstraintList> list = ListOf(key, option);
  if (!list) return KVCache::KV(-1, -1);
  KVCache change;
  change.Insert(key, option);
  for (const KVCache::KV& kv : list->pairs()) {
    if (IsSelected(change, kv)) return kv;
  }
  return KVCache::KV(-1, -1);
}

void ConstraintsEngine::AddConflicts(const ItemConstraintList& list, const KVCache& changes,
                                     _KVErrorSet& result) const {
  const auto& pairs = list.pairs();
  std::vector<KVCache::KV> excluded;
  for (auto kv = pairs.rbegin(); kv != pairs.rend(); ++kv) {
    if (!IsSelected(changes, *kv)) continue;
    result.conflicts.add(*kv);
    if (excluded.empty()) {
      excluded.assign(pairs.begin(), pairs.end());
      std::sort(excluded.begin(), excluded.end());
    }
    AddAlternatives(*kv, excluded, result);
  }
}

void ConstraintsEngine::AddAlternatives(const KVCache::KV& conflict,
                                        const std::vector<KVCache::KV>& excluded,
                                        _KVErrorSet& result) const {
  // The excluded pairs of the conflicting key sit together in the sorted list.
  auto first =
      std::lower_bound(excluded.begin(), excluded.end(), KVCache::KV(conflict.first, LONG_MIN));
  auto last = std::upper_bound(first, excluded.end(), KVCache::KV(conflict.first, LONG_MAX));
  const std::vector<long>& options = OptionsOf(conflict.first);
  for (auto option = options.rbegin(); option != options.rend(); ++option) {
    KVCache::KV alternative(conflict.first, *option);
    if (*option == conflict.second || std::binary_search(first, last, alternative)) continue;
    result.alternatives.add(alternative);
  }
}

// Whether a pair is selected once the changes are applied to the current selections.
// The applied state is never built: copying the selections would make every test cost
// as much as the whole model.
bool ConstraintsEngine::IsSelected(const KVCache& changes, const KVCache::KV& kv) const {
  long changed = changes.IndexOfKey(kv.first);
  if (changed == -1) return IsCurrent(kv);
  if (changes.GetKV(changed).second == kv.second) return true;
  // A change replaces only the key's first pair; any later pair of the key stays.
  if (mCurrent == nullptr) return false;
  long index = mCurrent->Lookup(kv);
  return index != -1 && index != mCurrent->IndexOfKey(kv.first);
}

bool ConstraintsEngine::IsCurrent(const KVCache::KV& kv) const {
  return mCurrent != nullptr && mCurrent->Lookup(kv) != -1;
}

_KVErrorSet ConstraintsEngine::Solve(KVCache* candidate, bool keepGiven) {
  purge();
  _KVErrorSet result = RSolve(candidate, keepGiven);
  purge();
  return result;
}

_KVErrorSet ConstraintsEngine::RSolve(KVCache* candidate, bool keepGiven) {
  if (++mDepth == 1 && candidate != nullptr) mGiven = *candidate;
  _KVErrorSet result = Test(candidate);
  if (result.conflicts.empty() || mDepth > kSearchBound) return result;
  KVCache lockedKeys = TestLockedStatus(&result.alternatives);
  if (mDepth == 1 && !lockedKeys.empty()) {
    result.conflicts = lockedKeys;
    result.alternatives.clear();
    return result;
  }
  while (!result.alternatives.empty()) {
    KVCache::KV alternative = result.alternatives.pop_front();
    // Only the keys given to the search are kept: keys it has set itself must stay free
    // to take their other alternatives.
    if (keepGiven && mGiven.IndexOfKey(alternative.first) != -1) continue;
    candidate->Insert(alternative.first, alternative.second);
    _KVErrorSet trial = Test(candidate);
    if (trial.conflicts.empty()) return trial;
    if (mOverflow || WasVisited(*candidate)) continue;
    mQueue.push(*candidate);
    if (static_cast<long>(mQueue.size()) > kSearchBound) mOverflow = true;
  }
  if (mQueue.empty()) return result;
  *candidate = mQueue.front();
  mQueue.pop();
  mVisited.insert(mVisited.begin(), *candidate);
  return RSolve(candidate, keepGiven);
}

bool ConstraintsEngine::WasVisited(const KVCache& state) const {
  return std::find(mVisited.begin(), mVisited.end(), state) != mVisited.end();
}

KVCache ConstraintsEngine::TestLockedStatus(KVCache* pairs) {
  KVCache lockedKeys;
  if (mLocked == nullptr || pairs == nullptr || mLocked->empty()) return lockedKeys;
  KVCache kept;
  for (const KVCache::KV& kv : *pairs) {
    if (IsLocked(kv)) {
      lockedKeys.Insert(kv.first, CurrentOption(kv.first));
    } else {
      kept.add(kv);
    }
  }
  *pairs = kept;
  return lockedKeys;
}

bool ConstraintsEngine::IsLocked(const KVCache::KV& kv) const {
  return std::any_of(mLocked->begin(), mLocked->end(), [&kv](const KVCache::KV& lock) {
    return lock.first == kv.first && (lock.second == -1 || lock.second == kv.second);
  });
}

long ConstraintsEngine::CurrentOption(long key) const {
  return mCurrent == nullptr ? -1 : mCurrent->GetItem(key);
}

KVCache ConstraintsEngine::ListCurrentConstraints(long key) {
  KVCache excluded;
  if (key < 0) return excluded;
  for (long option : OptionsOf(key)) {
    std::unique_ptr<ItemConstraintList> list = ListOf(key, option);
    if (list && std::any_of(list->pairs().begin(), list->pairs().end(),
                            [this](const KVCache::KV& kv) { return IsCurrent(kv); })) {
      excluded.add(KVCache::KV(key, option));
    }
  }
  return excluded;
}

KVCache ConstraintsEngine::ListScreenedConstraints(KVCache state, bool screen, long key) {
  KVCache screened;
  for (long option : OptionsOf(key)) {
    std::unique_ptr<ItemConstraintList> list = ListOf(key, option);
    if (!list) continue;
    KVCache met;
    for (const KVCache::KV& kv : list->pairs()) {
      if (state.Lookup(kv) != -1) met.add(kv);
    }
    if (met.empty() || (screen && met != state)) continue;
    screened.Insert(key, option);
  }
  return screened;
}

KVCache ConstraintsEngine::ListBlockingConstraints(long key1, long option1, long key2) {
  KVCache blocking;
  if (key1 < 0 || option1 < 0 || key2 < 0) return blocking;
  std::set<long> others;
  for (long option : OptionsOf(key1)) {
    if (option >= 0 && option != option1) others.insert(option);
  }
  for (long option : OptionsOf(key2)) {
    std::set<long> named;
    if (std::unique_ptr<ItemConstraintList> list = ListOf(key2, option)) {
      for (const KVCache::KV& kv : list->pairs()) {
        if (kv.first == key1) named.insert(kv.second);
      }
    }
    if (named == others) blocking.add(KVCache::KV(key2, option));
  }
  return blocking;
}

void ConstraintsEngine::purge() {
  mQueue = std::queue<KVCache>();
  mVisited.clear();
  mOverflow = false;
  mDepth = 0;
  mGiven.clear();
}

const std::vector<long>& ConstraintsEngine::OptionsOf(long key) const {
  static const std::vector<long> kNone;
  const std::vector<long>* options = mKeys == nullptr ? nullptr : mKeys->GetItems(key);
  return options == nullptr ? kNone : *options;
}

std::unique_ptr<ItemConstraintList> ConstraintsEngine::ListOf(long key, long option) const {
  return mForest == nullptr ? nullptr : mForest->GetConstraintList(key, option);
}
