// Numbers and length-prefixed texts for the pane's fields and titles.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "foundation/NumberConversions.h"
#include "foundation/NumberText.h"

TEST(NumberConversions, FormatsAndReadsNumbers) {
  char text[kNumberTextSize];
  num2String(-42, text);
  EXPECT_STREQ("-42", text);
  float2String(3.5, text);
  EXPECT_STREQ("   3.5000", text);
  float2String(1e300, text);  // far wider than the buffer: cut, never past it
  EXPECT_EQ(kNumberTextSize - 1, std::string(text).size());

  EXPECT_EQ(123, wtoi(L"  123abc"));
  EXPECT_EQ(-7, wtoi(L"-7"));
  EXPECT_EQ(0, wtoi(L"abc"));
  EXPECT_EQ(INT_MAX, wtoi(L"99999999999999999999"));
  EXPECT_EQ(INT_MIN, wtoi(L"-99999999999"));

  // The panel's fields share the job-note rule on digit runs.
  EXPECT_TRUE(validateRangeValues("12/31", 2));
  EXPECT_FALSE(validateRangeValues("1/123", 2));
}

TEST(NumberConversions, LengthPrefixedTextsRoundTripAndStopAt255Bytes) {
  unsigned char prefixed[kLengthPrefixedSize];
  char back[kLengthPrefixedSize];
  ctoPStr("Two-Sided", prefixed);
  EXPECT_EQ(9, prefixed[0]);
  ptoCStr(prefixed, back);
  EXPECT_STREQ("Two-Sided", back);

  ctoPStr("", prefixed);
  ptoCStr(prefixed, back);
  EXPECT_STREQ("", back);

  std::string longText(300, 'x');
  longText[254] = 'y';
  ctoPStr(longText.c_str(), prefixed);
  EXPECT_EQ(255, prefixed[0]);
  ptoCStr(prefixed, back);
  EXPECT_EQ(longText.substr(0, 255), back);
}
