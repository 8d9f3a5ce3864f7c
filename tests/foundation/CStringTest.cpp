#include "foundation/CString.h"

#include "cf/CoreFoundation.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "foundation/DocumentStorage.h"

static const char* Chars(const CString& text) { return text; }
static char* At(CString& text, unsigned long offset) {
  return const_cast<char*>(Chars(text)) + offset;
}

TEST(CStringTest, UnsetDiffersFromEmpty) {
  CString unset;
  CString empty("");
  EXPECT_TRUE(unset.Empty());
  EXPECT_TRUE(empty.Empty());
  CString target("text");
  target = unset;
  EXPECT_EQ(Chars(target), nullptr);
  target = empty;
  EXPECT_NE(Chars(target), nullptr);
  EXPECT_FALSE(empty == unset);
  EXPECT_FALSE(unset.Contains(""));
}

TEST(CStringTest, CopiesAreDeepAndOwnTextMayBeAssigned) {
  CString original("abc");
  CString copy(original);
  original + "def";
  EXPECT_STREQ(copy, "abc");
  copy = Chars(copy) + 1;
  EXPECT_STREQ(copy, "bc");
  EXPECT_EQ(copy.Size(), 2u);
}

// A move hands over the text itself, wherever it lives, and leaves the source
// unset; the target's own text goes.
TEST(CStringTest, MovesTakeTheBufferAndUnsetTheSource) {
  CString source("Upper");
  const char* buffer = source;
  CString moved(std::move(source));
  EXPECT_EQ(Chars(moved), buffer);
  EXPECT_EQ(Chars(source), nullptr);
  EXPECT_EQ(source.Size(), 0u);

  DocumentStorage storage;
  CString stored("Lower", storage);
  buffer = stored;
  moved = std::move(stored);
  EXPECT_EQ(Chars(moved), buffer);
  EXPECT_EQ(moved.Size(), 5u);
  EXPECT_EQ(Chars(stored), nullptr);
  // Still the storage's text: a change takes a buffer of its own.
  moved + " tray";
  EXPECT_STREQ(moved, "Lower tray");
  moved = std::move(moved);
  EXPECT_STREQ(moved, "Lower tray");
}

TEST(CStringTest, AppendWorksInPlaceAndKeepsUnsetWhenNothingAdded) {
  CString text;
  text + "";
  EXPECT_EQ(Chars(text), nullptr);
  EXPECT_EQ(&(text + "abc"), &text);
  EXPECT_STREQ(text, "abc");
  EXPECT_EQ(text.Size(), 3u);
}

TEST(CStringTest, ContainsIgnoresCaseReplaceDoesNot) {
  CString text("xxabcxx");
  EXPECT_TRUE(text.Contains("ABC"));
  EXPECT_FALSE(text.Contains("xxabcxxx"));

  CString words("one two one");
  words.Replace("ONE", "three");
  EXPECT_STREQ(words, "one two one");
  words.Replace("one", "three");
  EXPECT_STREQ(words, "three two one");
  words.Replace("two ", "");
  EXPECT_STREQ(words, "three one");
  EXPECT_EQ(words.Size(), 9u);
}

TEST(CStringTest, InsertReturnsNewBufferOrNullWhenNothingToDo) {
  CString text("ac");
  const char* before = Chars(text);
  EXPECT_EQ(text.Insert(At(text, 1), ""), nullptr);
  EXPECT_EQ(Chars(text), before);
  char* inserted = text.Insert(At(text, 1), "b");
  EXPECT_EQ(Chars(text), inserted);
  EXPECT_STREQ(text.Insert(At(text, 3), "d"), "abcd");
  EXPECT_EQ(text.Size(), 4u);
  EXPECT_EQ(CString().Insert(nullptr, "x"), nullptr);
}

TEST(CStringTest, RemoveMovesTailDownAndStopsAtTheEnd) {
  CString text("abcdef");
  text.Remove(At(text, 1), 2);
  EXPECT_STREQ(text, "adef");
  text.Remove(At(text, 2), 100);
  EXPECT_STREQ(text, "ad");
  EXPECT_EQ(text.Size(), 2u);
  char outside[] = "zz";
  text.Remove(outside, 1);
  EXPECT_STREQ(text, "ad");
}

TEST(CStringTest, PlatformStringsConvertWholeInUtf8) {
  std::string euros;
  for (int i = 0; i < 50; ++i) euros += "\xE2\x82\xAC";
  CFStringRef text = CFStringCreateWithCString(nullptr, euros.c_str(), kCFStringEncodingUTF8);
  CString converted(text);
  EXPECT_STREQ(converted, euros.c_str());
  EXPECT_EQ(converted.Size(), 150u);
  CString assigned("x");
  assigned = text;
  EXPECT_STREQ(assigned, euros.c_str());
  CFRelease(text);

  assigned = static_cast<CFStringRef>(nullptr);
  EXPECT_STREQ(assigned, "");
  EXPECT_EQ(Chars(CString(static_cast<CFStringRef>(nullptr))), nullptr);
}
