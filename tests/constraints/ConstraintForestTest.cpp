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
