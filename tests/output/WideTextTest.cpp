// Wide texts to UTF-8 and back, refusing what is not Unicode text.
#include <gtest/gtest.h>

#include <string>

#include "output/WideText.h"

TEST(WideTextTest, RoundTripOfEveryLengthAndRefusalOfNonText) {
  const std::wstring text = L"A\u00E9\u20AC\U0001F600";
  std::string utf8;
  ASSERT_TRUE(UTF8FromWide(text, utf8));
  EXPECT_EQ("A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80", utf8);
  std::wstring back;
  ASSERT_TRUE(WideFromUTF8(utf8, back));
  EXPECT_EQ(text, back);

  EXPECT_FALSE(UTF8FromWide(std::wstring(1, wchar_t(0xD800)), utf8));
  EXPECT_EQ("", utf8);
  EXPECT_FALSE(UTF8FromWide(std::wstring(1, wchar_t(0x110000)), utf8));

  for (const char* bad :
       {"\xC0\xAF", "\xE2\x82", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\x80", "a\xFF"}) {
    back = L"kept?";
    EXPECT_FALSE(WideFromUTF8(bad, back)) << bad;
    EXPECT_EQ(L"", back);
  }
}

TEST(WideTextTest, ReplacingForms) {
  EXPECT_EQ(L"a\uFFFD\uFFFDb\u00E9", WideFromUTF8Replacing("a\xE2\x82"
                                                           "b\xC3\xA9",
                                                           6));
  const wchar_t withHalf[] = {L'x', wchar_t(0xDC00), wchar_t(0x110000), 0};
  EXPECT_EQ("x\xEF\xBF\xBD\xEF\xBF\xBD", UTF8FromWideReplacing(withHalf));
}
