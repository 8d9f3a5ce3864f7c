#include "constraints/ConstraintForest.h"

#include <gtest/gtest.h>

#include <memory_resource>
#include <vector>

#include "constraints/KVCache.h"
#include "constraints/KeyForest.h"

namespace {

using KV = ConstraintForest::KV;
using Pairs = std::pmr::vector<KV>;

Pairs ListedPairs(const ConstraintForest& forest, long key, long option) {
  std::unique_ptr<ItemConstraintList> list = forest.GetConstraintList(key, option);
  return list ? list->pairs() : Pairs{};
}

TEST(ItemConstraintListTest, IndexingAndConcatenation) {
  ItemConstraintList left(7);
  left.insert(1, 10, kExclusionConstraint);
  left.insert(KV(2, 20));
  EXPECT_EQ(left[-1], nullptr);
  EXPECT_EQ(left[2], nullptr);
  ASSERT_NE(left[1], nullptr);
  EXPECT_EQ(*left[1], KV(2, 20));
  ItemConstraintList sum = left + left;
  EXPECT_EQ(left.size(), 2);
  EXPECT_EQ(sum.pairs(), (Pairs{{1, 10}, {2, 20}, {1, 10}, {2, 20}}));
  left += left;
  EXPECT_EQ(left.pairs(), sum.pairs());
}

// Lists kept in a forest take their pairs from the forest's pool; a copy handed out
// must not, or it would dangle once the forest is gone.
TEST(ItemConstraintListTest, CopiesOfAPooledListOutliveThePool) {
  std::unique_ptr<ItemConstraintList> copy;
  ItemConstraintList assigned(5);
  {
    std::pmr::monotonic_buffer_resource pool;
    ItemConstraintList pooled(5, &pool);
    for (long i = 0; i < 40; ++i) pooled.insert(KV(i, -i));
    copy = std::make_unique<ItemConstraintList>(pooled);
    assigned = pooled;
  }
  for (const ItemConstraintList* list : {copy.get(), &assigned}) {
    ASSERT_EQ(list->size(), 40);
    EXPECT_EQ(*(*list)[39], KV(39, -39));
  }
}

TEST(KeyForestTest, KeysAscendingOptionsInRegistrationOrder) {
  KeyForest keys;
  Pairs expected;
  for (long i = 0; i < 11; ++i) keys.insert(i * 7 % 11, 2), keys.insert(i * 7 % 11, 1);
  for (long key = 0; key < 11; ++key) expected.insert(expected.end(), {{key, 2}, {key, 1}});
  KVCache listed;
  listed.add(KV(99, 9));
  KVCache* out = &listed;
  keys.GetKeys(&out);
  EXPECT_EQ(Pairs(listed.begin(), listed.end()), expected);
}

// Pairs are filed when asked for: pairs declared after a question still come in,
// each option's in declaration order and the options ascending; lists copied out
// live on after the forest.
TEST(ConstraintForestFilingTest, LateDeclarationsJoinAndCopiesOutliveTheForest) {
  std::unique_ptr<ItemConstraintList> one;
  std::unique_ptr<ItemConstraintList> every;
  {
    ConstraintForest forest;
    for (long i = 0; i < 30; ++i) forest.insert(1, 40 - i % 3, 2, i, kExclusionConstraint);
    EXPECT_EQ(forest.GetConstraintList(7, -1), nullptr);
    EXPECT_EQ(ListedPairs(forest, 1, 39), (Pairs{{2, 1},
                                                 {2, 4},
                                                 {2, 7},
                                                 {2, 10},
                                                 {2, 13},
                                                 {2, 16},
                                                 {2, 19},
                                                 {2, 22},
                                                 {2, 25},
                                                 {2, 28}}));
    forest.insert(1, 39, 3, 0, kExclusionConstraint);
    forest.insert(1, 5, 3, 1, kExclusionConstraint);
    forest.insert(7, 70, 1, 5, kExclusionConstraint);
    EXPECT_EQ(ListedPairs(forest, 7, 70), (Pairs{{1, 5}}));
    EXPECT_EQ(ListedPairs(forest, 1, 41), Pairs{});
    one = forest.GetConstraintList(1, 39);
    every = forest.GetConstraintList(1, -1);
  }
  ASSERT_EQ(one->size(), 11);
  EXPECT_EQ(*(*one)[10], KV(3, 0));
  ASSERT_EQ(every->size(), 32);
  EXPECT_EQ(*(*every)[0], KV(3, 1));
  EXPECT_EQ(*(*every)[1], KV(2, 2));
  EXPECT_EQ(*(*every)[11], KV(2, 1));
  EXPECT_EQ(*(*every)[21], KV(3, 0));
  EXPECT_EQ(*(*every)[22], KV(2, 0));
  EXPECT_EQ(*(*every)[31], KV(2, 27));
}

class ConstraintForestTest : public ::testing::Test {
 protected:
  void SetUp() override {
    forest.insert(1, 11, 2, 20, kExclusionConstraint);
    forest.insert(1, 10, 2, 20, kExclusionConstraint);
    forest.insert(1, 10, 3, 30, kExclusionConstraint);
    forest.insert(2, 20, 1, 10, kExclusionConstraint);
    forest.insert(3, 30, 1, 10, kExclusionConstraint);
  }
  ConstraintForest forest;
};

TEST_F(ConstraintForestTest, WholeListsGoAndComeBackInBothDirections) {
  EXPECT_TRUE(forest.DisableConstraints(1, 10, -1, -1));
  EXPECT_EQ(ListedPairs(forest, 1, 10), Pairs{});
  EXPECT_EQ(ListedPairs(forest, 2, 20), Pairs{});
  EXPECT_EQ(ListedPairs(forest, 3, 30), Pairs{});
  EXPECT_EQ(ListedPairs(forest, 1, 11), (Pairs{{2, 20}}));
  forest.insert(1, 10, 4, 40, kExclusionConstraint);
  EXPECT_EQ(ListedPairs(forest, 1, 10), Pairs{});

  EXPECT_TRUE(forest.EnableConstraints(1, 10, -1, -1));
  EXPECT_EQ(ListedPairs(forest, 1, 10), (Pairs{{2, 20}, {3, 30}}));
  EXPECT_EQ(ListedPairs(forest, 2, 20), (Pairs{{1, 10}}));
  EXPECT_EQ(ListedPairs(forest, 3, 30), (Pairs{{1, 10}}));
  EXPECT_FALSE(forest.DisableConstraints(9, 10, -1, -1));
  EXPECT_FALSE(forest.EnableConstraints(9, 10, -1, -1));
  EXPECT_EQ(forest.GetConstraintList(9, 10), nullptr);
}

TEST_F(ConstraintForestTest, SinglePairsGoOneWayAndSurviveRepeatedDisabling) {
  EXPECT_TRUE(forest.DisableConstraints(1, -1, 2, -1));
  EXPECT_EQ(ListedPairs(forest, 1, 10), (Pairs{{3, 30}}));
  EXPECT_EQ(ListedPairs(forest, 1, 11), Pairs{});
  EXPECT_EQ(ListedPairs(forest, 2, 20), (Pairs{{1, 10}}));
  forest.DisableConstraints(1, 10, 3, 30);
  EXPECT_EQ(ListedPairs(forest, 1, 10), Pairs{});

  forest.EnableConstraints(1, 10, 2, 20);
  EXPECT_EQ(ListedPairs(forest, 1, 10), (Pairs{{2, 20}}));
  forest.EnableConstraints(1, 10, 3, -1);
  EXPECT_EQ(ListedPairs(forest, 1, 10), (Pairs{{2, 20}, {3, 30}}));
  EXPECT_EQ(ListedPairs(forest, 1, 11), Pairs{});
}

TEST_F(ConstraintForestTest, EveryKeyAtOnceHasNoReverseStep) {
  EXPECT_TRUE(forest.DisableConstraints(-1, 10, -1, -1));
  EXPECT_EQ(ListedPairs(forest, 1, -1), Pairs{});
  EXPECT_EQ(ListedPairs(forest, 2, 20), Pairs{});
  EXPECT_TRUE(forest.EnableConstraints(-1, -1, 1, 10));
  EXPECT_EQ(ListedPairs(forest, 2, 20), (Pairs{{1, 10}}));
  EXPECT_EQ(ListedPairs(forest, 1, -1), Pairs{});
  forest.EnableConstraints(-1, -1, -1, -1);
  EXPECT_EQ(ListedPairs(forest, 1, -1), (Pairs{{2, 20}, {3, 30}, {2, 20}}));
}

}  // namespace
