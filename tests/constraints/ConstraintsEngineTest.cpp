#include "constraints/ConstraintsEngine.h"

#include <gtest/gtest.h>

#include <vector>

#include "constraints/ConstraintForest.h"
#include "constraints/KeyForest.h"
#include "support/CachePairs.h"

namespace {

class ConstraintsEngineTest : public ::testing::Test {
 protected:
  // Each line: a key, then its options.
  void RegisterLines(std::vector<std::vector<long>> lines) {
    for (const auto& line : lines) {
      for (size_t i = 1; i < line.size(); ++i) keys.insert(line[0], line[i]);
    }
  }
  // Each line: key1, option1, then the (key2, option2) pairs that it excludes.
  void Exclude(std::vector<std::vector<long>> lines) {
    for (const auto& line : lines) {
      for (size_t i = 2; i + 1 < line.size(); i += 2) {
        forest.insert(line[0], line[1], KV(line[i], line[i + 1]));
      }
    }
  }
  static KVCache InsertedCache(Pairs pairs) {
    KVCache cache;
    for (const KV& kv : pairs) cache.Insert(kv.first, kv.second);
    return cache;
  }

  KVCache current;
  KVCache locked;
  ConstraintForest forest;
  KeyForest keys;
  ConstraintsEngine engine{&current, &forest, &keys, &locked};
};

TEST_F(ConstraintsEngineTest, TestLooksOnlyAtTheDeltasOwnLists) {
  RegisterLines({{1, 10, 11, 12}, {2, 20, 21, 22, 23}, {3, 30, 31}});
  Exclude({{1, 10, 2, 20, 2, 21, 3, 30}, {2, 20, 3, 30}});
  current = InsertedCache({{1, 11}, {2, 20}, {3, 30}});

  KVCache delta = InsertedCache({{1, 10}});
  _KVErrorSet result = engine.Test(&delta);
  EXPECT_EQ(PairsOf(result.conflicts), (Pairs{{3, 30}, {2, 20}}));
  EXPECT_EQ(PairsOf(result.alternatives), (Pairs{{3, 31}, {2, 23}, {2, 22}}));

  delta = InsertedCache({{1, 11}});
  EXPECT_TRUE(engine.Test(&delta).conflicts.empty());
  delta = InsertedCache({{1, 10}, {2, 22}});
  EXPECT_EQ(PairsOf(engine.Test(&delta).conflicts), (Pairs{{3, 30}}));

  // A change replaces a key's first pair only; a second pair of that key stays selected.
  current.add(KV(4, 41));
  current.add(KV(4, 42));
  Exclude({{1, 12, 4, 41, 4, 42, 4, 43}});
  delta = InsertedCache({{4, 43}, {1, 12}});
  EXPECT_EQ(PairsOf(engine.Test(&delta).conflicts), (Pairs{{4, 43}, {4, 42}}));
}

TEST_F(ConstraintsEngineTest, SolveReachesAConflictFreeState) {
  RegisterLines({{1, 10, 11}, {2, 20, 21, 22}, {3, 30}});
  Exclude({{1, 10, 2, 20}, {2, 20, 1, 10}, {2, 22, 3, 30}});
  current = InsertedCache({{2, 20}, {3, 30}});

  // The first alternative of key 2 fails; the search must still try the next one.
  for (bool keepGiven : {false, true}) {
    KVCache candidate = InsertedCache({{1, 10}});
    EXPECT_TRUE(engine.Solve(&candidate, keepGiven).conflicts.empty());
    EXPECT_EQ(PairsOf(candidate), (Pairs{{1, 10}, {2, 21}}));
  }

  KVCache candidate = InsertedCache({{1, 10}, {2, 20}});
  EXPECT_TRUE(engine.Solve(&candidate, false).conflicts.empty());
  EXPECT_TRUE(engine.Test(&candidate).conflicts.empty());
  candidate = InsertedCache({{1, 10}, {2, 20}});
  EXPECT_EQ(PairsOf(engine.Solve(&candidate, true).conflicts), (Pairs{{2, 20}, {1, 10}}));
  EXPECT_EQ(PairsOf(candidate), (Pairs{{1, 10}, {2, 20}}));
}

TEST_F(ConstraintsEngineTest, LockedKeysStopOnlyTheFirstLevel) {
  RegisterLines({{1, 10}, {2, 20, 21}, {3, 30, 32, 31}});
  Exclude({{1, 10, 2, 20}, {2, 21, 3, 30}});
  current = InsertedCache({{2, 20}, {3, 30}});

  locked = InsertedCache({{2, -1}});
  KVCache candidate = InsertedCache({{1, 10}});
  _KVErrorSet result = engine.Solve(&candidate, true);
  EXPECT_EQ(PairsOf(result.conflicts), (Pairs{{2, 20}}));
  EXPECT_TRUE(result.alternatives.empty());
  EXPECT_EQ(PairsOf(candidate), (Pairs{{1, 10}}));

  locked = InsertedCache({{3, 31}});
  EXPECT_TRUE(engine.Solve(&candidate, true).conflicts.empty());
  EXPECT_EQ(PairsOf(candidate), (Pairs{{1, 10}, {2, 21}, {3, 32}}));

  KVCache alternatives;
  for (const KV& kv : Pairs{{3, 31}, {3, 32}, {4, 40}}) alternatives.add(kv);
  EXPECT_EQ(PairsOf(engine.TestLockedStatus(&alternatives)), (Pairs{{3, 30}}));
  EXPECT_EQ(PairsOf(alternatives), (Pairs{{3, 32}, {4, 40}}));
}

// A chain in which key i's second option excludes key i + 1's selected one: the search
// fixes one key per level.
TEST_F(ConstraintsEngineTest, SearchStopsAfter128Levels) {
  const long chain = 129;
  RegisterLines({{0, 0}});
  Exclude({{0, 0, 1, 100}});
  for (long key = 1; key <= chain; ++key) {
    RegisterLines({{key, 100 * key, 100 * key + 1}});
    current.Insert(key, 100 * key);
    if (key < chain) Exclude({{key, 100 * key + 1, key + 1, 100 * (key + 1)}});
  }
  KVCache tooLong = InsertedCache({{0, 0}});
  EXPECT_EQ(PairsOf(engine.Solve(&tooLong, false).conflicts), (Pairs{{chain, 100 * chain}}));
  KVCache longest = InsertedCache({{1, 101}});
  EXPECT_TRUE(engine.Solve(&longest, false).conflicts.empty());
  EXPECT_EQ(longest.GetItem(chain), 100 * chain + 1);
}

TEST_F(ConstraintsEngineTest, ListsOfExcludedAndBlockingOptions) {
  RegisterLines({{1, 10, 11, 12, 13}, {2, 20, 21}});
  Exclude({{1, 10, 2, 20}, {1, 11, 2, 21, 3, 30, 2, 20}, {1, 12, 2, 21, 2, 20}, {1, 13, 2, 21}});
  current = InsertedCache({{2, 21}});

  EXPECT_EQ(PairsOf(engine.ListCurrentConstraints(1)), (Pairs{{1, 11}, {1, 12}, {1, 13}}));
  EXPECT_TRUE(engine.ListCurrentConstraints(-1).empty());

  KVCache state = InsertedCache({{2, 20}, {3, 30}});
  EXPECT_EQ(PairsOf(engine.ListScreenedConstraints(state, false, 1)), (Pairs{{1, 12}}));
  EXPECT_EQ(PairsOf(engine.ListScreenedConstraints(state, true, 1)), (Pairs{{1, 11}}));

  EXPECT_EQ(PairsOf(engine.ListBlockingConstraints(2, 20, 1)), (Pairs{{1, 13}}));
  EXPECT_TRUE(engine.ListBlockingConstraints(2, -1, 1).empty());
}

}  // namespace
