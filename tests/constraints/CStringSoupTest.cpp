#include "constraints/CStringSoup.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace {

TEST(CStringSoupTest, IdsAreDenseInOrderOfFirstInsertion) {
  CStringSoup soup;
  EXPECT_EQ(soup.Insert("*Duplex"), 0);
  EXPECT_EQ(soup.Insert(""), 1);
  EXPECT_EQ(soup.Insert("*Duplex"), 0);
  for (long i = 2; i < 2000; ++i) EXPECT_EQ(soup.Insert(std::to_string(i).c_str()), i);
  for (long i = 2; i < 2000; ++i) EXPECT_EQ(soup.Find(std::to_string(i).c_str()), i);
  EXPECT_EQ(soup.Find("none"), -1);
  EXPECT_STREQ(soup.Find(1L), "");
  EXPECT_EQ(soup.Find(2000L), nullptr);
  EXPECT_EQ(soup.Find(-1L), nullptr);
  soup.Clear();
  EXPECT_EQ(soup.Find("*Duplex"), -1);
  EXPECT_EQ(soup.Insert("None"), 0);
}

TEST(CStringSoupTest, LongTextsStayWholeAndDistinct) {
  CStringSoup soup;
  std::string common(63, 'k');
  std::string first = common + "first";
  std::string second = common + "second";
  EXPECT_EQ(soup.Insert(first.c_str()), 0);
  EXPECT_EQ(soup.Insert(second.c_str()), 1);
  EXPECT_EQ(soup.Insert(common.c_str()), 2);
  EXPECT_EQ(soup.Find(first.c_str()), 0);
  EXPECT_EQ(std::string(soup.Find(1L)), second);
}

// A text taken where it lies, up to a length, is the same text as its
// terminated copy, and is kept terminated, short or long.
TEST(CStringSoupTest, TextsOfAGivenLengthAreTheirTerminatedCopies) {
  CStringSoup soup;
  const std::string line = "*ZPOpt4 C3 " + std::string(2000, 'w') + " *ZPOpt8";
  EXPECT_EQ(soup.Insert(std::string_view(line).substr(0, 7)), 0);
  EXPECT_EQ(soup.Insert("*ZPOpt4"), 0);
  EXPECT_EQ(soup.Insert(std::string_view(line).substr(8, 2)), 1);
  EXPECT_EQ(soup.Find("C3"), 1);
  EXPECT_STREQ(soup.Find(1L), "C3");
  EXPECT_EQ(soup.Insert(std::string_view(line).substr(11, 2000)), 2);
  EXPECT_EQ(std::string(soup.Find(2L)), std::string(2000, 'w'));
  EXPECT_EQ(soup.Insert(std::string_view(line.data(), 0)), soup.Insert(""));
}

}  // namespace
