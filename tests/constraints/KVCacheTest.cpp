#include "constraints/KVCache.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/CachePairs.h"

namespace {

KVCache AddedCache(Pairs pairs) {
  KVCache cache;
  for (const KV& kv : pairs) cache.add(kv);
  return cache;
}

// Look-ups after insertions and removals at either end, with repeated keys, must find
// the pairs that are left and only those.
TEST(KVCacheTest, InsertReplacesInPlaceAndLookupsFollowPops) {
  KVCache cache = AddedCache({{1, 10}, {2, 20}, {1, 11}, {3, 30}, {1, 12}});
  cache.Insert(-1, 5);
  EXPECT_EQ(cache.Lookup(KV(1, 12)), 4);
  EXPECT_EQ(cache.pop_front(), KV(1, 10));
  EXPECT_EQ(cache.pop_back(), KV(1, 12));
  EXPECT_EQ(cache.GetItem(1), 11);
  EXPECT_EQ(cache.Lookup(KV(1, 12)), -1);
  EXPECT_EQ(cache.Lookup(KV(3, 30)), 2);
  cache.Insert(1, 13);
  cache.Insert(4, 40);
  cache.add(KV(2, 21));
  EXPECT_EQ(PairsOf(cache), (Pairs{{2, 20}, {1, 13}, {3, 30}, {4, 40}, {2, 21}}));
  EXPECT_EQ(cache.Lookup(KV(2, 21)), 4);
  EXPECT_EQ(cache.GetItem(9), -1);
  EXPECT_EQ(cache.GetKV(5), KV(-1, -1));
  cache.clear();
  EXPECT_EQ(cache.pop_front(), KV(0, 0));
  EXPECT_EQ(cache.pop_back(), KV(0, 0));
  cache.Insert(4, 40);
  EXPECT_EQ(cache.Lookup(KV(4, 40)), 0);
}

TEST(KVCacheTest, EqualityIgnoresOrderButCountsDuplicates) {
  EXPECT_EQ(AddedCache({{1, 2}, {3, 4}}), AddedCache({{3, 4}, {1, 2}}));
  EXPECT_EQ(AddedCache({{1, 2}, {1, 2}, {1, 3}}), AddedCache({{1, 3}, {1, 2}, {1, 2}}));
  EXPECT_NE(AddedCache({{1, 2}, {1, 2}}), AddedCache({{1, 2}, {3, 4}}));
  EXPECT_NE(AddedCache({{1, 2}, {1, 2}, {3, 4}}), AddedCache({{1, 2}, {3, 4}, {3, 4}}));
  EXPECT_NE(AddedCache({{1, 2}}), AddedCache({{1, 2}, {1, 2}}));
}

TEST(KVCacheTest, CombiningSkipsNegativeKeys) {
  KVCache left = AddedCache({{1, 10}, {2, 20}});
  KVCache right = AddedCache({{-1, 5}, {1, 11}});
  EXPECT_EQ(PairsOf(left + right), (Pairs{{1, 10}, {2, 20}, {1, 11}}));
  left.merge(right);
  EXPECT_EQ(PairsOf(left), (Pairs{{1, 11}, {2, 20}}));
}

}  // namespace
