#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PPDX/PPDObjects/Controls/CommaSeparatedInts.h"

namespace {

std::string Compressed(std::string list) {
  std::vector<char> buffer(list.begin(), list.end());
  buffer.push_back('\0');
  buffer.push_back('\x7F');  // must stay: the result never grows
  CompressCommaSeparatedListOfInts(buffer.data());
  EXPECT_EQ('\x7F', buffer.back());
  return buffer.data();
}

TEST(CommaSeparatedIntsTest, RunsKeepTheirOrder) {
  EXPECT_EQ(Compressed("1,2,3,5,7,8"), "1-3,5,7-8");
  EXPECT_EQ(Compressed("3,2,1"), "3,2,1");
  EXPECT_EQ(Compressed("4"), "4");
  EXPECT_EQ(Compressed("5,5,6"), "5,5-6");
  EXPECT_EQ(Compressed("-3,-2,-1,0"), "-3-0");
  // Blanks, signs and leading zeros are absorbed; a piece without digits is 0.
  EXPECT_EQ(Compressed(" 007,+8,,x,1"), "7-8,0-1");
  EXPECT_EQ(Compressed(",,,"), "");
  CompressCommaSeparatedListOfInts(nullptr);
}

TEST(CommaSeparatedIntsTest, LongListsAreCompressedWhole) {
  std::string run, gaps, expectedGaps;
  for (int n = 1; n <= 250; ++n) run += std::to_string(n) + ",";
  EXPECT_EQ(Compressed(run), "1-250");
  for (int n = 1; n <= 600; n += 2) gaps += std::to_string(n) + ",";
  gaps += "601,602";
  expectedGaps = gaps.substr(0, gaps.size() - 7) + "601-602";
  EXPECT_EQ(Compressed(gaps), expectedGaps);
  // Numbers beyond an int are held at its limits and never wrap into a run.
  EXPECT_EQ(Compressed("99999999999,2147483647,-99999999999"), "2147483647,2147483647,-2147483648");
}

}  // namespace
