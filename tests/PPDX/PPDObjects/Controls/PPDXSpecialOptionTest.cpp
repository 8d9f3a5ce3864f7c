#include <gtest/gtest.h>

#include <string>

#include "PPDX/PPDObjects/Controls/PPDXSpecialOption.h"
#include "foundation/CString.h"
#include "support/DisplayOption.h"
#include "support/ModelControls.h"
#include "support/PlatformString.h"

TEST(PPDXSpecialOptionTest, ValueIsFixedSavedAndEmptyWhenMissing) {
  std::unique_ptr<PPDXSpecialOption> special(model::Special("*ZPAccount", "4711"));
  // Only the PPD sets the value; a preset handed in changes nothing.
  special->SetPresetValueString(CFSTR("9999"));
  EXPECT_EQ(TakeText(special->CopyPresetValueString()), "4711");
  unsigned char code[16] = {};
  EXPECT_EQ(10, special->PostScript(code));
  EXPECT_STREQ(reinterpret_cast<char*>(code), "% special\n");

  Settings settings;
  ASSERT_EQ(0, special->Save(settings, 5003));
  auto blob = Unflattened(settings);
  ASSERT_TRUE(blob);
  PPDXSpecialOption rebuilt(*blob, 5003);
  EXPECT_EQ(CNTL_SPECIAL, rebuilt.Type());
  EXPECT_STREQ(rebuilt.Keyword(), "*ZPAccount");
  EXPECT_STREQ(*rebuilt.GetValue(), "4711");
  EXPECT_EQ(10, rebuilt.PostScript(nullptr));
  rebuilt.ResetToDefaultValue();
  EXPECT_STREQ(*rebuilt.GetValue(), "");
  EXPECT_EQ(0, rebuilt.Restore(*blob, 5003));
  EXPECT_STREQ(*rebuilt.GetValue(), "4711");

  ASSERT_EQ(0, blob->Remove(FourCC("soVl"), 5003));
  EXPECT_EQ(0, rebuilt.Restore(*blob, 5003));
  EXPECT_STREQ(*rebuilt.GetValue(), "");
  PPDXSpecialOption withoutValue(*blob, 5003);
  EXPECT_EQ(TakeText(withoutValue.CopyCurrentControlValueString()), "");
  PointerList flags;
  PPDXSpecialOption valueless("*ZPNone", CFSTR("None"), flags, nullptr, nullptr, 0, true);
  EXPECT_STREQ(*valueless.GetValue(), "");
}
