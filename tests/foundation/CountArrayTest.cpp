#include "foundation/CError.h"
#include "foundation/CountArray.h"

#include <gtest/gtest.h>

TEST(CountArrayTest, CountsUnderEachDisplayFilter) {
  CountArray counts;
  counts.Add(false, false);
  counts.Add(false, false);
  counts.Add(true, false);
  counts.Add(false, true);
  counts.Add(true, true);
  EXPECT_EQ(counts.Count(0), 2u);
  EXPECT_EQ(counts.Count(1), 3u);
  EXPECT_EQ(counts.Count(2), 3u);
  EXPECT_EQ(counts.Count(3), 5u);
  EXPECT_EQ(counts.Count(4), 0u);
}

TEST(CErrorTest, ComparesByCodeAndHidesEmptyDescription) {
  CError error(-5, "bad keyword", true);
  CError copy(error);
  error.Description("");
  EXPECT_EQ(error.Description(), nullptr);
  EXPECT_STREQ(copy.Description(), "bad keyword");
  EXPECT_TRUE(copy == -5);
  EXPECT_TRUE(copy != 5);
  EXPECT_TRUE(copy.IsFatal());
}
