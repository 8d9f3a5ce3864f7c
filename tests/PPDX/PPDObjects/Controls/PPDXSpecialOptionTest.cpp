#include "PPDX/PPDObjects/Controls/PPDXSpecialOption.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "PPDX/PPDObjects/PPDXElementAPI.h"
#include "foundation/CString.h"
#include "support/ModelStore.h"

namespace {

std::string Text(CFStringRef string) {
  EXPECT_NE(string, nullptr);
  if (string == nullptr) return "<null>";
  char buffer[256] = {};
  CFStringGetCString(string, buffer, sizeof buffer, kCFStringEncodingUTF8);
  CFRelease(string);
  return buffer;
}

PPDXSpecialOption* NewSpecial(const char* keyword, const char* value, const char* code) {
  PointerList flags;
  flags.PushBack(new CString("Spooler"));
  auto* data = reinterpret_cast<unsigned char*>(strdup(code));
  return new PPDXSpecialOption(keyword, CFSTR("Account"), flags, const_cast<char*>(value), data,
                               long(strlen(code)), false);
}

}  // namespace

TEST(PPDXSpecialOptionTest, ValueIsFixedAndItsCodeUnframed) {
  std::unique_ptr<PPDXSpecialOption> special(NewSpecial("*ZPAccount", "4711", "/acct 4711 def\n"));
  EXPECT_EQ(CNTL_SPECIAL, special->Type());
  EXPECT_STREQ(*special->GetValue(), "4711");
  EXPECT_EQ(Text(special->CopyCurrentControlValueString()), "4711");
  special->SetCurrentControlWithCFString(CFSTR("9999"));
  special->SetPresetValueString(CFSTR("9999"));
  EXPECT_EQ(Text(special->CopyPresetValueString()), "4711");
  unsigned char code[32] = {};
  EXPECT_EQ(15, GetPostScript(special.get(), code));
  EXPECT_STREQ(reinterpret_cast<char*>(code), "/acct 4711 def\n");
  EXPECT_TRUE(IsSpoolerControl(special.get()));
  special->ResetToDefaultValue();
  EXPECT_STREQ(*special->GetValue(), "");

  PointerList none;
  PPDXSpecialOption valueless("*ZPNone", CFSTR("None"), none, nullptr, nullptr, 0, true);
  EXPECT_STREQ(*valueless.GetValue(), "");
  EXPECT_EQ(0, valueless.PostScript(nullptr));
}

TEST(PPDXSpecialOptionTest, SavedValueComesBackAndAMissingOneIsEmpty) {
  std::unique_ptr<PPDXSpecialOption> special(NewSpecial("*ZPAccount", "4711", "/acct 4711 def\n"));
  Settings settings;
  ASSERT_EQ(0, special->Save(settings, 5003));
  long size = 0;
  EXPECT_EQ(0, settings.Get(FourCC("soCN"), 5003, nullptr, size, false));
  EXPECT_EQ(1, size);
  auto blob = ThroughBlob(settings);
  ASSERT_TRUE(blob);

  PPDXSpecialOption rebuilt(*blob, 5003);
  EXPECT_EQ(CNTL_SPECIAL, rebuilt.Type());
  EXPECT_STREQ(rebuilt.Keyword(), "*ZPAccount");
  EXPECT_STREQ(*rebuilt.GetValue(), "4711");
  EXPECT_FALSE(rebuilt.IsVisible());
  EXPECT_EQ(15, rebuilt.PostScript(nullptr));
  EXPECT_TRUE(rebuilt.IsSpooler());

  rebuilt.ResetToDefaultValue();
  EXPECT_EQ(0, rebuilt.Restore(*blob, 5003));
  EXPECT_STREQ(*rebuilt.GetValue(), "4711");
  ASSERT_EQ(0, blob->Remove(FourCC("soVl"), 5003));
  EXPECT_EQ(0, rebuilt.Restore(*blob, 5003));
  EXPECT_STREQ(*rebuilt.GetValue(), "");
  PPDXSpecialOption withoutValue(*blob, 5003);
  EXPECT_EQ(Text(withoutValue.CopyCurrentControlValueString()), "");
}
