#include "PPDX/PPDObjects/PPDXElement.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

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

CFStringRef Name(const std::string& text) {
  return CFStringCreateWithCString(nullptr, text.c_str(), kCFStringEncodingUTF8);
}

std::string Text(Settings& settings, unsigned long key, long index) {
  std::unique_ptr<CString> text(GetSettingsString(settings, key, index));
  return text ? std::string(*text) : "<missing>";
}

TEST(PPDXElementTest, EmptyKeywordIsNoKeyword) {
  CFStringRef name = Name("Paper");
  Element element("", name, true);
  Element other("", name, true);
  CFRelease(name);
  EXPECT_EQ(element.Keyword(), nullptr);
  EXPECT_FALSE(element == "");
  EXPECT_FALSE(element == other);
  EXPECT_FALSE(EqualsKeyWord(&element, ""));
  Settings settings;
  ASSERT_EQ(0, element.Save(settings, 3001));
  long size = 0;
  EXPECT_NE(0, settings.Get(FourCC("KyWd"), 3001, nullptr, size, false));
  EXPECT_EQ(Text(settings, FourCC("LcNm"), 3001), "Paper");
}

TEST(PPDXElementTest, KeywordsCompareCaseSensitively) {
  CFStringRef name = Name("Paper");
  Element a("*PageSize", name, true), b("*PageSize", name, true), c("*pagesize", name, true);
  CFRelease(name);
  EXPECT_TRUE(a == b);
  EXPECT_FALSE(a == c);
  EXPECT_TRUE(a == "*PageSize");
  EXPECT_FALSE(a == static_cast<const char*>(nullptr));
  EXPECT_TRUE(EqualsElement(&a, &b));
  EXPECT_FALSE(EqualsElement(&a, nullptr));
  EXPECT_FALSE(EqualsElement(nullptr, &a));
}

TEST(PPDXElementTest, DisplayFilterFollowsParentAndVisibility) {
  CFStringRef name = Name("x");
  Element group("*Group", name, true);
  Element visibleOrphan("*A", name, true), hiddenChild("*B", name, false);
  CFRelease(name);
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
  EXPECT_EQ(GetParent(nullptr), nullptr);
  // The document's own filter starts strictest.
  EXPECT_EQ(DISPLAY_ATTACHED_VISIBLE, PPDXDisplayOptions::Options());
}

TEST(PPDXElementTest, LongAndWideNamesSurviveSaveAndRestore) {
  // 600 bytes in UTF-8 (more than any fixed buffer of 512) and a character outside
  // the 16-bit plane, which takes four bytes for two UTF-16 units.
  std::string longName;
  for (int i = 0; i < 300; ++i) longName += "\xC3\xA9";
  longName += "\xF0\x9F\x96\xA8";
  CFStringRef name = Name(longName);
  Element group("*Finishing", name, true);
  Element element("*Staple", name, false);
  CFRelease(name);
  element.SetParent(&group);
  Settings settings;
  ASSERT_EQ(0, element.Save(settings, 4001));
  EXPECT_EQ(Text(settings, FourCC("LcNm"), 4001), longName);
  EXPECT_EQ(Text(settings, FourCC("PrNm"), 4001), "*Finishing");

  char** flattened = nullptr;
  ASSERT_EQ(0, settings.GetSettingsHandle(&flattened));
  Settings copy(flattened);
  DisposeHandle(flattened);
  Element restored(copy, 4001);
  EXPECT_STREQ(restored.Keyword(), "*Staple");
  EXPECT_STREQ(restored.UserName(), longName.c_str());
  EXPECT_STREQ(UserName(&restored), longName.c_str());
  EXPECT_FALSE(restored.IsVisible());
  // The parent is known by keyword only until the document resolves it.
  EXPECT_FALSE(restored.IsOrphan());
  EXPECT_EQ(restored.GetParent(), nullptr);
  Settings again;
  ASSERT_EQ(0, restored.Save(again, 4001));
  EXPECT_EQ(Text(again, FourCC("PrNm"), 4001), "*Finishing");
  std::unique_ptr<CString> parent(restored.TakeParentKeyword());
  ASSERT_TRUE(parent);
  EXPECT_STREQ(*parent, "*Finishing");
  EXPECT_TRUE(restored.IsOrphan());
  restored.SetParent(&group);
  EXPECT_EQ(GetParent(&restored), &group);
}

TEST(PPDXElementTest, RestoreIgnoresVisibilityOfTheWrongSize) {
  Settings settings;
  const SInt16 shortVisible = 1;
  ASSERT_EQ(0, settings.Add(FourCC("isVs"), 7, &shortVisible, sizeof shortVisible));
  Element element(settings, 7);
  EXPECT_FALSE(element.IsVisible());
  EXPECT_EQ(element.Keyword(), nullptr);
  EXPECT_EQ(element.UserName(), nullptr);
  EXPECT_EQ(CFStringToCString(nullptr), nullptr);
}

TEST(PPDXElementDeathTest, DisplayNameIsRequired) {
  EXPECT_DEATH(Element("*PageSize", nullptr, true), "failed assertion `inLocalName != NULL'");
}

}  // namespace
