#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "PPDX/PPDObjects/PPDXElement.h"
#include "PPDX/PPDObjects/PPDXElementAPI.h"
#include "carbon/MacMemory.h"
#include "foundation/CString.h"
#include "foundation/Settings.h"
#include "foundation/SettingsStrings.h"

namespace {

class Element : public PPDXElement {
 public:
  using PPDXElement::PPDXElement;
};

std::string SavedText(Settings& settings, unsigned long key, long index) {
  std::unique_ptr<CString> text(GetSettingsString(settings, key, index));
  return text ? std::string(*text) : "<missing>";
}

TEST(PPDXElementTest, KeywordsCompareExactlyAndEmptyIsNone) {
  Element a("*PageSize", CFSTR("Paper"), true), b("*PageSize", CFSTR("Paper"), true);
  Element lower("*pagesize", CFSTR("Paper"), true), empty("", CFSTR("Paper"), true);
  EXPECT_TRUE(a == b && EqualsElement(&a, &b) && a == "*PageSize");
  EXPECT_FALSE(a == lower || a == static_cast<const char*>(nullptr));
  EXPECT_FALSE(EqualsElement(&a, nullptr) || EqualsElement(nullptr, &a));
  EXPECT_EQ(Keyword(&empty), nullptr);
  EXPECT_FALSE(empty == "" || EqualsKeyWord(&empty, "") || EqualsElement(&empty, &empty));
  Settings settings;
  ASSERT_EQ(0, empty.Save(settings, 3001));
  EXPECT_EQ(SavedText(settings, FourCC("KyWd"), 3001), "<missing>");
  EXPECT_EQ(SavedText(settings, FourCC("LcNm"), 3001), "Paper");
}

TEST(PPDXElementTest, DisplayFilterFollowsParentAndVisibility) {
  Element group("*Group", CFSTR("x"), true);
  Element visibleOrphan("*A", CFSTR("x"), true), hiddenChild("*B", CFSTR("x"), false);
  hiddenChild.SetParent(&group);
  struct Case {
    SInt32 option;
    bool visibleOrphan;
    bool hiddenChild;
  } cases[] = {{0, false, false}, {1, true, false}, {2, false, true},
               {3, true, true},   {-1, true, true}, {7, true, true}};
  for (const Case& c : cases) {
    const auto option = static_cast<_DISPLAY_OPTIONS_>(c.option);
    EXPECT_EQ(c.visibleOrphan, visibleOrphan.OkayToDisplay(option)) << c.option;
    EXPECT_EQ(c.hiddenChild, hiddenChild.OkayToDisplay(option)) << c.option;
  }
  hiddenChild.SetParent(nullptr);
  EXPECT_FALSE(hiddenChild.OkayToDisplay(DISPLAY_ATTACHED));
  EXPECT_TRUE(IsOrphan(nullptr));
  // The document's own filter starts strictest.
  EXPECT_EQ(DISPLAY_ATTACHED_VISIBLE, PPDXDisplayOptions::Options());
}

TEST(PPDXElementTest, LongAndWideNamesAndPendingParentsSurviveARebuild) {
  // 600 bytes in UTF-8 (beyond any fixed buffer of 512) and a character outside the
  // 16-bit plane: four bytes for two UTF-16 units.
  std::string longName;
  for (int i = 0; i < 300; ++i) longName += "\xC3\xA9";
  longName += "\xF0\x9F\x96\xA8";
  CFStringRef name = CFStringCreateWithCString(nullptr, longName.c_str(), kCFStringEncodingUTF8);
  Element group("*Finishing", name, true), element("*Staple", name, false);
  CFRelease(name);
  element.SetParent(&group);
  Settings settings;
  ASSERT_EQ(0, element.Save(settings, 4001));
  EXPECT_EQ(SavedText(settings, FourCC("LcNm"), 4001), longName);
  char** flattened = nullptr;
  ASSERT_EQ(0, settings.GetSettingsHandle(&flattened));
  Settings copy(flattened);
  DisposeHandle(flattened);

  Element restored(copy, 4001);
  EXPECT_STREQ(restored.Keyword(), "*Staple");
  EXPECT_STREQ(UserName(&restored), longName.c_str());
  EXPECT_FALSE(restored.IsVisible());
  // Known by keyword only until the document resolves it, and saved as such.
  EXPECT_FALSE(restored.IsOrphan());
  EXPECT_EQ(restored.GetParent(), nullptr);
  Settings again;
  ASSERT_EQ(0, restored.Save(again, 4001));
  EXPECT_EQ(SavedText(again, FourCC("PrNm"), 4001), "*Finishing");
  std::unique_ptr<CString> parent(restored.TakeParentKeyword());
  ASSERT_TRUE(parent);
  EXPECT_STREQ(*parent, "*Finishing");
  EXPECT_TRUE(restored.IsOrphan());

  // A visibility entry of the wrong size is not taken.
  Settings odd;
  const SInt16 shortVisible = 1;
  ASSERT_EQ(0, odd.Add(FourCC("isVs"), 7, &shortVisible, sizeof shortVisible));
  Element fromOdd(odd, 7);
  EXPECT_FALSE(fromOdd.IsVisible());
  EXPECT_EQ(fromOdd.UserName(), nullptr);
}

TEST(PPDXElementDeathTest, DisplayNameIsRequired) {
  EXPECT_DEATH(Element("*PageSize", nullptr, true), "failed assertion `inLocalName != NULL'");
}

}  // namespace
