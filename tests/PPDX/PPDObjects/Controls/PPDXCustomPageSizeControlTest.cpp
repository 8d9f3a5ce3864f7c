#include "PPDX/PPDObjects/Controls/PPDXCustomPageSizeControl.h"

#include <gtest/gtest.h>

#include <string>

#include "foundation/Settings.h"

namespace {

std::string Text(CFStringRef string) {
  EXPECT_NE(string, nullptr);
  if (string == nullptr) return "<null>";
  char buffer[128] = {};
  CFStringGetCString(string, buffer, sizeof buffer, kCFStringEncodingUTF8);
  CFRelease(string);
  return buffer;
}

}  // namespace

TEST(PPDXCustomPageSizeControlTest, ValueTextCarriesWidthThenHeight) {
  PointerList flags;
  PPDXCustomPageSizeControl size("*CustomPageSize", flags, 72, 1296, 144, 3600);
  EXPECT_EQ(CNTL_CUSTOMPAGESIZE, size.Type());
  EXPECT_STREQ(size.UserName(), "Custom Page Size");
  EXPECT_TRUE(size.IsVisible());
  EXPECT_FLOAT_EQ(1296, size.MaxWidth());
  EXPECT_FLOAT_EQ(144, size.MinHeight());
  EXPECT_EQ(Text(size.CopyCurrentControlValueString()), "0.000000 0.000000");

  size.SetCurrentControlWithCFString(CFSTR("612 792"));
  EXPECT_FLOAT_EQ(612, size.GetWidth());
  EXPECT_FLOAT_EQ(792, size.GetHeight());
  EXPECT_EQ(Text(size.CopyCurrentControlValueString()), "612.000000 792.000000");
  size.SetCurrentControlWithCFString(CFSTR("500"));
  EXPECT_FLOAT_EQ(500, size.GetWidth());
  EXPECT_FLOAT_EQ(500, size.GetHeight());
  // Limits are the caller's to check; the reset keeps the size.
  size.SetPresetValueString(CFSTR("20.5 9000.25"));
  size.ResetToDefaultValue();
  EXPECT_EQ(Text(size.CopyPresetValueString()), "20.500000 9000.250000");
  size.SetCurrentControlWithCFString(nullptr);
  EXPECT_FLOAT_EQ(20.5, size.GetWidth());

  Settings settings;
  EXPECT_EQ(0, size.Save(settings, 5001));
  EXPECT_EQ(0, size.Restore(settings, 5001));
  EXPECT_TRUE(settings.Empty());
  EXPECT_EQ(0, size.PostScript(nullptr));
}
