#include <gtest/gtest.h>

#include "carbon/MacErrors.h"
#include "carbon/TextCommon.h"
#include "cf/CoreFoundation.h"

TEST(TextCommon, EncodingsPackAndMatchThePlatformStrings) {
  TextEncoding utf8 = CreateTextEncoding(kTextEncodingUnicodeDefault, kTextEncodingDefaultVariant,
                                         kUnicodeUTF8Format);
  EXPECT_EQ(utf8, kCFStringEncodingUTF8);
  EXPECT_EQ(utf8, kTextEncodingUTF8);
  EXPECT_EQ(GetTextEncodingBase(utf8), kTextEncodingUnicodeDefault);
  EXPECT_EQ(GetTextEncodingFormat(utf8), kUnicodeUTF8Format);
  TextEncoding variant = CreateTextEncoding(kTextEncodingShiftJIS, 3, kTextEncodingDefaultFormat);
  EXPECT_EQ(GetTextEncodingBase(variant), kTextEncodingShiftJIS);
  EXPECT_EQ(GetApplicationTextEncoding(), CFStringGetSystemEncoding());
}

TEST(TextCommon, ScriptsGiveTheirEncodings) {
  TextEncoding encoding = 0xDEAD;
  for (ScriptCode script :
       {ScriptCode(smSystemScript), ScriptCode(smCurrentScript), ScriptCode(kTextScriptDontCare)}) {
    EXPECT_EQ(UpgradeScriptInfoToTextEncoding(script, kTextLanguageDontCare, kTextRegionDontCare,
                                              nullptr, &encoding),
              noErr);
    EXPECT_EQ(encoding, kTextEncodingUTF8);
  }
  EXPECT_EQ(UpgradeScriptInfoToTextEncoding(smJapanese, kTextLanguageDontCare, kTextRegionDontCare,
                                            nullptr, &encoding),
            noErr);
  EXPECT_EQ(encoding, kTextEncodingMacJapanese);
  EXPECT_EQ(UpgradeScriptInfoToTextEncoding(smRoman, 0, 0, nullptr, &encoding), noErr);
  EXPECT_EQ(encoding, kTextEncodingMacRoman);
  EXPECT_EQ(UpgradeScriptInfoToTextEncoding(99, 0, 0, nullptr, &encoding), paramErr);
  EXPECT_EQ(UpgradeScriptInfoToTextEncoding(smRoman, 0, 0, nullptr, nullptr), paramErr);
}
