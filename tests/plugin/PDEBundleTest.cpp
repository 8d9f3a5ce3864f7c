// Localized strings of the assembled bundle, and texts written into fixed buffers.
#include <gtest/gtest.h>

#include <cstring>

#include "carbon/SysBeep.h"
#include "cf/CFRef.h"
#include "plugin/PDEBundle.h"
#include "support/FileURL.h"
#include "support/PlatformString.h"

namespace {

class PDEBundleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    mBundle.reset(CreateBundleAt(ZPX_BUILT_BUNDLE));
    ASSERT_TRUE(mBundle);
  }
  // The default bundle is process-wide: leave none behind.
  void TearDown() override { PDEBundle::InitBundle(nullptr); }

  CFRef<CFBundleRef> mBundle;
};

}  // namespace

TEST_F(PDEBundleTest, StringsOfTheDefaultAndNamedTables) {
  PDEBundle::InitBundle(nullptr);
  EXPECT_EQ(nullptr, PDEBundle::CopyLocalizedCFString(CFSTR("N/A")));
  EXPECT_EQ("ZPX Options",
            TakeText(PDEBundle::CopyLocalizedCFString(CFSTR("PDE Panel Title"), mBundle.get())));

  PDEBundle::InitBundle(mBundle.get());
  EXPECT_TRUE(PDEBundle::Initialized());
  EXPECT_EQ("en", TakeText(PDEBundle::CopyLocalizedCFString(CFSTR("ServerLanguage"))));
  EXPECT_EQ("Not a key", TakeText(PDEBundle::CopyLocalizedCFString(CFSTR("Not a key"))));
  EXPECT_EQ("Configure\xE2\x80\xA6", TakeText(PDEBundle::CopyLocalizedCFStringFromFile(
                                         CFSTR("CONFIG_BTN"), CFSTR("BidiStrings"))));
  EXPECT_EQ("Press OK to continue.", TakeText(PDEBundle::CopyLocalizedCFStringFromFile(
                                         CFSTR("PRESS_OKAY"), CFSTR("BidiStrings"))));
  EXPECT_EQ("Cancel",
            TakeText(PDEBundle::CopyLocalizedCFStringFromFile(CFSTR("Cancel"), CFSTR("Dialogs"))));
  // Each key lives in its own table.
  EXPECT_EQ("PRESS_OKAY", TakeText(PDEBundle::CopyLocalizedCFString(CFSTR("PRESS_OKAY"))));
  for (int i = 0; i < 5; ++i) {
    std::string key = "Watermark" + std::to_string(i);
    CFRef<CFStringRef> keyText(CreateText(key));
    std::string watermark = TakeText(PDEBundle::CopyLocalizedCFString(keyText.get()));
    EXPECT_EQ(13, std::count(watermark.begin(), watermark.end(), ',')) << watermark;
  }
}

TEST_F(PDEBundleTest, BuffersAreCutOnACharacterBoundary) {
  PDEBundle::InitBundle(mBundle.get());
  char buffer[16];
  EXPECT_EQ(11, PDEBundle::GetLocalizedString(CFSTR("PDE Panel Title"), buffer, sizeof buffer));
  EXPECT_STREQ("ZPX Options", buffer);
  EXPECT_EQ(5, PDEBundle::GetLocalizedString(CFSTR("PDE Panel Title"), buffer, 6));
  EXPECT_STREQ("ZPX O", buffer);
  // "Configure…": the three-byte ellipsis does not fit in 11 bytes with the NUL.
  EXPECT_EQ(9, PDEBundle::GetLocalizedString(CFSTR("Configure\xE2\x80\xA6"), buffer, 11));
  EXPECT_STREQ("Configure", buffer);
  PDEBundle::InitBundle(nullptr);
  std::strcpy(buffer, "old");
  EXPECT_EQ(0, PDEBundle::GetLocalizedString(CFSTR("PDE Panel Title"), buffer, sizeof buffer));
  EXPECT_STREQ("", buffer);

  UInt32 beeps = SysBeepCount();
  EXPECT_TRUE(PDEBundle::ConvertCFString(CFSTR("caf\xC3\xA9"), buffer, sizeof buffer,
                                         kCFStringEncodingISOLatin1));
  EXPECT_STREQ("caf\xE9", buffer);
  EXPECT_EQ(beeps, SysBeepCount());
  EXPECT_FALSE(PDEBundle::ConvertCFString(CFSTR("\xE6\x97\xA5\xE6\x9C\xAC"), buffer, sizeof buffer,
                                          kCFStringEncodingISOLatin1));
  EXPECT_EQ(beeps + 1, SysBeepCount());
  EXPECT_STREQ("", buffer);
}
