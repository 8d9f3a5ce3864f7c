#include "foundation/CString.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(CStringTest, UnsetDiffersFromEmpty) {
  CString unset;
  CString empty("");
  EXPECT_EQ(static_cast<const char*>(unset), nullptr);
  ASSERT_NE(static_cast<const char*>(empty), nullptr);
  EXPECT_TRUE(unset.Empty());
  EXPECT_TRUE(empty.Empty());

  CString target("text");
  target = unset;
  EXPECT_EQ(static_cast<const char*>(target), nullptr);
  EXPECT_EQ(target.Size(), 0u);
  target = empty;
  EXPECT_NE(static_cast<const char*>(target), nullptr);
  target = static_cast<const char*>(nullptr);
  EXPECT_EQ(static_cast<const char*>(target), nullptr);

  EXPECT_TRUE(unset == CString());
  EXPECT_TRUE(unset == static_cast<const char*>(nullptr));
  EXPECT_FALSE(unset == empty);
  EXPECT_FALSE(empty == unset);
  EXPECT_FALSE(unset.Contains(""));
}

TEST(CStringTest, CopiesAreDeepAndSelfAssignmentKeepsText) {
  CString original("abc");
  CString copy(original);
  original + "def";
  EXPECT_STREQ(copy, "abc");
  EXPECT_STREQ(original, "abcdef");

  copy = static_cast<const char*>(copy);
  EXPECT_STREQ(copy, "abc");
  // A pointer into the string's own text is copied before the old text goes.
  copy = static_cast<const char*>(copy) + 1;
  EXPECT_STREQ(copy, "bc");
  EXPECT_EQ(copy.Size(), 2u);
}

TEST(CStringTest, AppendWorksInPlaceAndKeepsUnsetWhenNothingAdded) {
  CString text;
  text + "";
  EXPECT_EQ(static_cast<const char*>(text), nullptr);
  CString& result = text + "abc";
  EXPECT_EQ(&result, &text);
  EXPECT_STREQ(text, "abc");
  EXPECT_EQ(text.Size(), 3u);
  text + "de" + "f";
  EXPECT_STREQ(text, "abcdef");
  EXPECT_EQ(text.Size(), 6u);
}

TEST(CStringTest, ContainsIgnoresCaseReplaceDoesNot) {
  CString text("xxabcxx");
  EXPECT_TRUE(text.Contains("ABC"));
  EXPECT_TRUE(text.Contains("xX"));
  EXPECT_FALSE(text.Contains("abd"));
  EXPECT_FALSE(text.Contains("xxabcxxx"));

  CString words("one two one");
  words.Replace("ONE", "three");
  EXPECT_STREQ(words, "one two one");
  words.Replace("one", "three");
  EXPECT_STREQ(words, "three two one");
  EXPECT_EQ(words.Size(), std::strlen("three two one"));
  words.Replace("two ", "");
  EXPECT_STREQ(words, "three one");
  words.Replace(words, "whole");
  EXPECT_STREQ(words, "whole");
}

TEST(CStringTest, InsertReturnsNewBufferOrNullWhenNothingToDo) {
  CString text("ac");
  char* before = const_cast<char*>(static_cast<const char*>(text));
  EXPECT_EQ(text.Insert(before + 1, ""), nullptr);
  EXPECT_EQ(static_cast<const char*>(text), before);

  char* inserted = text.Insert(before + 1, "b");
  ASSERT_NE(inserted, nullptr);
  EXPECT_EQ(static_cast<const char*>(text), inserted);
  EXPECT_STREQ(text, "abc");
  EXPECT_STREQ(text.Insert(inserted + 3, "d"), "abcd");
  EXPECT_EQ(text.Size(), 4u);

  CString unset;
  EXPECT_EQ(unset.Insert(nullptr, "x"), nullptr);
  EXPECT_EQ(static_cast<const char*>(unset), nullptr);
}

TEST(CStringTest, RemoveMovesTailDownAndStopsAtTheEnd) {
  CString text("abcdef");
  char* start = const_cast<char*>(static_cast<const char*>(text));
  text.Remove(start + 1, 2);
  EXPECT_STREQ(text, "adef");
  EXPECT_EQ(text.Size(), 4u);
  text.Remove(start + 2, 100);
  EXPECT_STREQ(text, "ad");
  EXPECT_EQ(text.Size(), 2u);
  char outside[] = "zz";
  text.Remove(outside, 1);
  EXPECT_STREQ(text, "ad");

  CString unset;
  unset.Remove(nullptr, 1);
  EXPECT_EQ(static_cast<const char*>(unset), nullptr);
}
