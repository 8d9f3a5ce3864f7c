#include "constraints/KVCache.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using KV = KVCache::KV;

KVCache Of(std::vector<KV> pairs) {
  KVCache cache;
  for (const KV& kv : pairs) cache.add(kv);
  return cache;
}

std::vector<KV> PairsOf(const KVCache& cache) { return std::vector<KV>(cache.begin(), cache.end()); }

TEST(KVCacheTest, InsertKeepsOnePairPerKeyInPlace) {
  KVCache cache;
  cache.Insert(-1, 5);
  EXPECT_EQ(cache.size(), 0);
  cache.Insert(1, 2);
  cache.Insert(3, 4);
  cache.Insert(1, 7);
  EXPECT_EQ(PairsOf(cache), (std::vector<KV>{{1, 7}, {3, 4}}));
  EXPECT_EQ(cache.GetItem(3), 4);
  EXPECT_EQ(cache.GetItem(9), -1);
  EXPECT_EQ(cache.Lookup(KV(1, 2)), -1);
  EXPECT_EQ(cache.Lookup(KV(3, 4)), 1);
  EXPECT_EQ(cache.GetKV(5), KV(-1, -1));
  EXPECT_EQ(cache.GetKV(-1), KV(-1, -1));
}

TEST(KVCacheTest, EqualityIgnoresOrderButCountsDuplicates) {
  EXPECT_EQ(Of({{1, 2}, {3, 4}}), Of({{3, 4}, {1, 2}}));
  EXPECT_EQ(Of({{1, 2}, {1, 2}, {1, 3}}), Of({{1, 3}, {1, 2}, {1, 2}}));
  EXPECT_NE(Of({{1, 2}, {1, 2}}), Of({{1, 2}, {3, 4}}));
  EXPECT_NE(Of({{1, 2}, {1, 2}, {3, 4}}), Of({{1, 2}, {3, 4}, {3, 4}}));
  EXPECT_NE(Of({{1, 2}}), Of({{1, 2}, {1, 2}}));
  EXPECT_EQ(KVCache(), KVCache());
}

// Lookups after removals at either end, with repeated keys, must still find the pairs
// that are left and only those.
TEST(KVCacheTest, LookupsFollowPopsAtBothEnds) {
  KVCache cache = Of({{1, 10}, {2, 20}, {1, 11}, {3, 30}, {1, 12}});
  EXPECT_EQ(cache.pop_front(), KV(1, 10));
  EXPECT_EQ(cache.pop_back(), KV(1, 12));
  EXPECT_EQ(cache.GetItem(1), 11);
  EXPECT_EQ(cache.Lookup(KV(1, 10)), -1);
  EXPECT_EQ(cache.Lookup(KV(1, 12)), -1);
  EXPECT_EQ(cache.Lookup(KV(3, 30)), 2);
  cache.Insert(1, 13);
  cache.add(KV(2, 21));
  EXPECT_EQ(PairsOf(cache), (std::vector<KV>{{2, 20}, {1, 13}, {3, 30}, {2, 21}}));
  EXPECT_EQ(cache.Lookup(KV(2, 21)), 3);
  cache.clear();
  EXPECT_EQ(cache.pop_front(), KV(0, 0));
  EXPECT_EQ(cache.pop_back(), KV(0, 0));
  cache.Insert(4, 40);
  EXPECT_EQ(cache.Lookup(KV(4, 40)), 0);
}

TEST(KVCacheTest, CombiningSkipsNegativeKeys) {
  KVCache left = Of({{1, 10}, {2, 20}});
  KVCache right = Of({{-1, 5}, {1, 11}, {3, 30}});
  EXPECT_EQ(PairsOf(left + right), (std::vector<KV>{{1, 10}, {2, 20}, {1, 11}, {3, 30}}));
  EXPECT_EQ(left.size(), 2);
  left.merge(right);
  EXPECT_EQ(PairsOf(left), (std::vector<KV>{{1, 11}, {2, 20}, {3, 30}}));
  left += left;
  EXPECT_EQ(left.size(), 6);
  EXPECT_EQ(left.Lookup(KV(3, 30)), 2);
}

}  // namespace
