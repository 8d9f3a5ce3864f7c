#include "carbon/CollectionKeyFilter.h"

#include <gtest/gtest.h>

namespace {

// Keys as a document's entries make them: a few tags, ids counting up.
UInt64 DocumentKey(UInt64 n) { return (UInt64(0x50000000 + n % 8) << 32) | (n / 8); }

}  // namespace

// Every key added is held and a key added again is told apart from a new one;
// of as many keys never added, nearly all are ruled out, so that a block of
// distinct items is mostly proved so and an absent key mostly needs no index.
TEST(CollectionKeyFilter, HoldsEveryKeyAddedAndRulesOutNearlyAllOthers) {
  constexpr UInt64 kKeys = 100000;
  CollectionKeyFilter filter;
  filter.Reset(kKeys);
  int perhapsSeen = 0;
  for (UInt64 n = 0; n < kKeys; ++n) perhapsSeen += filter.Add(DocumentKey(n)) ? 0 : 1;
  EXPECT_LE(perhapsSeen, 2);
  int missing = 0;
  int again = 0;
  int perhapsHeld = 0;
  for (UInt64 n = 0; n < kKeys; ++n) {
    missing += filter.MayHold(DocumentKey(n)) ? 0 : 1;
    again += filter.Add(DocumentKey(n)) ? 1 : 0;
    perhapsHeld += filter.MayHold(DocumentKey(n + kKeys)) ? 1 : 0;
  }
  EXPECT_EQ(0, missing);
  EXPECT_EQ(0, again);
  EXPECT_LE(perhapsHeld, 10);

  filter.Release();
  EXPECT_TRUE(filter.MayHold(DocumentKey(0)));
  EXPECT_FALSE(filter.Add(DocumentKey(0)));
  filter.Reset(0);
  EXPECT_FALSE(filter.MayHold(DocumentKey(0)));
}
