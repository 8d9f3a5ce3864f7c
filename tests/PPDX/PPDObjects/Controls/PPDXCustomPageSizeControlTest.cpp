#include <gtest/gtest.h>

#include <string>

#include "PPDX/PPDObjects/Controls/PPDXCustomPageSizeControl.h"
#include "foundation/Settings.h"
#include "support/PlatformString.h"

TEST(PPDXCustomPageSizeControlTest, ValueTextCarriesWidthThenHeight) {
  PointerList flags;
  PPDXCustomPageSizeControl size("*CustomPageSize", flags, 72, 1296, 144, 3600);
  EXPECT_STREQ(size.UserName(), "Custom Page Size");
  EXPECT_FLOAT_EQ(144, size.MinHeight());
  size.SetCurrentControlWithCFString(CFSTR("612 792"));
  EXPECT_FLOAT_EQ(792, size.GetHeight());
  EXPECT_EQ(TakeText(size.CopyCurrentControlValueString()), "612.000000 792.000000");
  size.SetCurrentControlWithCFString(CFSTR("500"));
  EXPECT_FLOAT_EQ(500, size.GetWidth());
  EXPECT_FLOAT_EQ(500, size.GetHeight());
  // Limits are the caller's to check; a reset keeps the size.
  size.SetPresetValueString(CFSTR("20.5 9000.25"));
  size.ResetToDefaultValue();
  EXPECT_EQ(TakeText(size.CopyPresetValueString()), "20.500000 9000.250000");

  Settings settings;
  EXPECT_EQ(0, size.Save(settings, 5001));
  EXPECT_TRUE(settings.Empty());
}
