#include "foundation/SettingsStrings.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "foundation/CString.h"
#include "foundation/Settings.h"

namespace {

const unsigned long kKey = FourCC("KyWd");

}  // namespace

TEST(SettingsStrings, TextEntriesComeBackTerminatedAndEmptyOnesAsNull) {
  Settings settings;
  ASSERT_EQ(0, settings.Add(kKey, 1, "abc", 3));
  ASSERT_EQ(0, settings.Add(kKey, 2, "", 0));
  std::unique_ptr<CString> text(GetSettingsString(settings, kKey, 1));
  ASSERT_NE(nullptr, text);
  EXPECT_EQ(3u, text->Size());
  EXPECT_STREQ("abc", *text);
  EXPECT_EQ(nullptr, GetSettingsString(settings, kKey, 2));
  EXPECT_EQ(nullptr, GetSettingsString(settings, kKey, 3));
  EXPECT_EQ(nullptr, GetSettingsCFString(settings, kKey, 2));
  // Lengths on both sides of what fits a short read come back whole and terminated.
  for (std::size_t length : {254u, 255u, 256u, 257u, 5000u}) {
    const std::string longText(length, 'x');
    ASSERT_EQ(0, settings.Add(kKey, 9, longText.data(), long(length)));
    std::unique_ptr<CString> read(GetSettingsString(settings, kKey, 9));
    ASSERT_NE(nullptr, read);
    EXPECT_EQ(longText, static_cast<const char*>(*read));
  }
  // A text that is empty up to its first NUL is as empty as no bytes.
  ASSERT_EQ(0, settings.Add(kKey, 4, "\0ab", 3));
  EXPECT_EQ(nullptr, GetSettingsString(settings, kKey, 4));
}

TEST(SettingsStrings, PlatformStringsSurviveTheStore) {
  // Beyond Latin 1, a surrogate pair, and a NUL that must not end the text.
  const UniChar characters[] = {'A', 0x00E9, 0x65E5, 0xD83D, 0xDE00, 0};
  CFStringRef original = CFStringCreateWithCharacters(kCFAllocatorDefault, characters, 6);
  long length = 0;
  std::unique_ptr<unsigned char[]> external(CFStringToExternal(original, &length));
  ASSERT_NE(nullptr, external);
  // A byte-order mark in this machine's order, then 16-bit units.
  ASSERT_EQ(2 + 6 * 2, length);
  UniChar mark;
  std::memcpy(&mark, external.get(), 2);
  EXPECT_EQ(0xFEFF, mark);

  Settings settings;
  ASSERT_EQ(0, settings.Add(kKey, 7, external.get(), length));
  CFStringRef restored = GetSettingsCFString(settings, kKey, 7);
  ASSERT_NE(nullptr, restored);
  EXPECT_EQ(kCFCompareEqualTo, CFStringCompare(original, restored, 0));
  CFRelease(restored);
  CFRelease(original);

  EXPECT_EQ(nullptr, ExtenalToCFString(nullptr, 4));
}
