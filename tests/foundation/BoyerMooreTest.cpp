#include "foundation/BoyerMoore.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

long Find(const std::string& data, const std::string& pattern, long offset = 0) {
  BoyerMoore search;
  std::string copy = data;
  search.SetSearchData(copy.empty() ? nullptr : &copy[0], static_cast<long>(copy.size()));
  return search.Search(offset, pattern.data(), static_cast<short>(pattern.size()));
}

}  // namespace

TEST(BoyerMooreTest, FindsTheFirstExactMatch) {
  EXPECT_EQ(Find("*PCFileName: \"A.PPD\"", "*PCFileName"), 0);
  EXPECT_EQ(Find("xx*PCFileName", "*PCFileName"), 2);
  // Repeated letters: the skip of a byte is taken from its last position.
  EXPECT_EQ(Find("abaabababbab", "ababb"), 5);
  EXPECT_EQ(Find("aaaaaaaab", "aab"), 6);
  EXPECT_EQ(Find("abcabcabd", "abcabd"), 3);
  EXPECT_EQ(Find("the cat sat on the mat", "the mat"), 15);
  // Exact: another letter case is not a match.
  EXPECT_EQ(Find("*pcfilename", "*PCFileName"), -1);
  EXPECT_EQ(Find("abcdefgh", "xyz"), -1);
  // Bytes above 127 index the skip table as unsigned values.
  EXPECT_EQ(Find("ab\xe9\xff"
                 "cd",
                 "\xff"
                 "c"),
            3);
}

TEST(BoyerMooreTest, NeverReadsOutsideTheData) {
  // Pattern as long as, and longer than, the window.
  EXPECT_EQ(Find("abc", "abc"), 0);
  EXPECT_EQ(Find("abc", "abcd"), -1);
  EXPECT_EQ(Find("", "a"), -1);
  EXPECT_EQ(Find("abc", ""), -1);
  // The offset shortens the window; results are relative to it.
  EXPECT_EQ(Find("abcabc", "abc", 1), 2);
  EXPECT_EQ(Find("abcabc", "abc", 4), -1);
  EXPECT_EQ(Find("abc", "c", 7), -1);
  EXPECT_EQ(Find("abc", "a", -1), -1);
}

TEST(BoyerMooreTest, PatternForms) {
  BoyerMoore search;
  unsigned char counted[] =
      "\x03"
      "keyword";
  search.SetSearchString(counted);
  EXPECT_EQ(search.GetSearchStringLength(), 3);
  char out[BoyerMoore::kMaxPattern + 1];
  search.GetSearchString(out);
  EXPECT_STREQ(out, "key");

  // A pattern is cut to 256 bytes, whose skips do not fit a byte.
  std::string data = "a" + std::string(300, 'z');
  EXPECT_EQ(Find(data, data.substr(1)), 1);

  // The flag is kept but the search stays exact.
  search.SetCaseSensitve(false);
  char mixed[] = "KEY";
  search.SetSearchData(mixed, 3);
  EXPECT_EQ(search.Search(0, "key", 3), -1);
}
