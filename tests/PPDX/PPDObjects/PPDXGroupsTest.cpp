#include "PPDX/PPDObjects/PPDXGroups.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "PPDX/PPDObjects/PPDXElementAPI.h"
#include "PPDX/PPDObjects/PPDXLayoutAPI.h"
#include "PPDX/PPDObjects/PPDXProperties.h"
#include "PPDX/PPDObjects/PPDXProperty.h"
#include "PPDX/PPDObjects/PPDXRollDown.h"
#include "PPDX/PPDObjects/PPDXScrollPane.h"
#include "foundation/CString.h"
#include "foundation/SettingsStrings.h"
#include "support/ModelStore.h"

namespace {

// The keyword a rebuilt element names as its parent, or "" for none.
std::string PendingParent(PPDXElement* element) {
  std::unique_ptr<CString> keyword(element->TakeParentKeyword());
  return keyword ? std::string(*keyword) : "";
}

bool HasEntry(Settings& settings, unsigned long key, long index) {
  long size = 0;
  return settings.Get(key, index, nullptr, size, false) == 0;
}

std::vector<std::string> Walk(PPDXGroups& groups) {
  std::vector<std::string> keywords;
  for (PPDXGroup* group = FirstGroup(&groups); group; group = NextGroup(&groups))
    keywords.push_back(group->Keyword());
  return keywords;
}

}  // namespace

TEST(PPDXGroupsTest, PaneAndRollDownsComeBackAsTheirClassesWithTheirParents) {
  DisplayOption all(DISPLAY_ALL);
  PPDXScrollPane pane("*Pane", CFSTR("Pane"), true);
  PPDXRollDown paper("*Paper", CFSTR("Paper"), true), finish("*Finish", CFSTR("Finish"), false);
  PPDXGroup plain("*Plain", CFSTR("Plain"), true);
  paper.SetParent(&pane);
  finish.SetParent(&pane);
  PPDXGroups groups;
  for (PPDXGroup* group : std::vector<PPDXGroup*>{&pane, &paper, &finish, &plain}) groups.Add(group);
  groups.Add(nullptr);

  Settings settings;
  ASSERT_EQ(0, groups.Save(settings));
  EXPECT_TRUE(HasEntry(settings, FourCC("ScPn"), 4001) && HasEntry(settings, FourCC("RlDn"), 4002) &&
              HasEntry(settings, FourCC("RlDn"), 4003) && HasEntry(settings, FourCC("gGrp"), 4004));
  EXPECT_FALSE(HasEntry(settings, FourCC("gGrp"), 4001) || HasEntry(settings, FourCC("RlDn"), 4001));
  std::unique_ptr<CString> parent(GetSettingsString(settings, FourCC("PrNm"), 4003));
  ASSERT_TRUE(parent);
  EXPECT_STREQ(*parent, "*Pane");

  auto blob = ThroughBlob(settings);
  ASSERT_TRUE(blob);
  PPDXGroups rebuilt(*blob);
  std::vector<PPDXGroup*> owned;
  for (PPDXGroup* group = rebuilt.First(); group; group = rebuilt.Next()) owned.push_back(group);
  ASSERT_EQ(4u, owned.size());
  EXPECT_EQ(Walk(rebuilt), (std::vector<std::string>{"*Pane", "*Paper", "*Finish", "*Plain"}));
  EXPECT_TRUE(IsScrollPane(owned[0]) && IsRollDown(owned[1]) && IsRollDown(owned[2]));
  EXPECT_FALSE(IsRollDown(owned[0]) || IsScrollPane(owned[3]) || IsRollDown(owned[3]));
  EXPECT_FALSE(owned[2]->IsVisible());
  EXPECT_EQ(PendingParent(owned[0]), "");
  EXPECT_EQ(PendingParent(owned[1]), "*Pane");
  EXPECT_EQ(PendingParent(owned[2]), "*Pane");
  EXPECT_TRUE(static_cast<PPDXRollDown*>(owned[1])->Controls()->Empty());
  EXPECT_TRUE(IsGrouPointerListEmpty(static_cast<PPDXScrollPane*>(owned[0])->RollDowns()));
  for (PPDXGroup* group : owned) delete group;
}

TEST(PPDXGroupsTest, RebuildSkipsUnmarkedIndexesAndBoundsTheCount) {
  Settings settings;
  const SInt32 claimed = 2000000000;
  ASSERT_EQ(0, settings.Add(4000, 4002, &claimed, 4));
  ASSERT_EQ(0, settings.Add(FourCC("KyWd"), 4001, "*NoMarker", 9));
  ASSERT_EQ(0, settings.Add(FourCC("KyWd"), 4002, "*Group", 6));
  ASSERT_EQ(0, settings.Add(FourCC("gGrp"), 4002, "g", 1));
  PPDXGroups rebuilt(settings);
  DisplayOption all(DISPLAY_ALL);
  PPDXGroup* only = rebuilt.First();
  ASSERT_NE(only, nullptr);
  EXPECT_STREQ(only->Keyword(), "*Group");
  EXPECT_EQ(rebuilt.Next(), nullptr);
  delete only;

  Settings badCount;
  ASSERT_EQ(0, badCount.Add(4000, 4002, "\1\0", 2));
  ASSERT_EQ(0, badCount.Add(FourCC("gGrp"), 4001, "g", 1));
  EXPECT_TRUE(PPDXGroups(badCount).Empty());
}

TEST(PPDXGroupsTest, WalksFilterByDisplayOptionWhileFindSeesEverything) {
  DisplayOption option(DISPLAY_ATTACHED_VISIBLE);
  PPDXScrollPane pane("*Pane", CFSTR("Pane"), true);
  PPDXGroup orphan("*Orphan", CFSTR("Orphan"), true);
  PPDXRollDown hidden("*HiddenFinishing", CFSTR("Hidden"), false);
  PPDXRollDown shown("*Shown", CFSTR("Shown"), true);
  PPDXGroup hiddenOrphan("*HiddenOrphan", CFSTR("Hidden orphan"), false);
  hidden.SetParent(&pane);
  shown.SetParent(&pane);
  PPDXGroups groups;
  for (PPDXGroup* group : std::vector<PPDXGroup*>{&orphan, &hidden, &shown, &hiddenOrphan})
    groups.Add(group);

  EXPECT_EQ(Walk(groups), std::vector<std::string>{"*Shown"});
  EXPECT_EQ(1u, GroupCount(&groups));
  // Find ignores the filter and leaves the walk where it was.
  EXPECT_EQ(groups.First(), &shown);
  EXPECT_EQ(FindGroup(&groups, "*Orphan", true), &orphan);
  EXPECT_EQ(FindGroup(&groups, "Finishing", false), &hidden);
  EXPECT_EQ(FindGroup(&groups, "Finishing", true), nullptr);
  EXPECT_EQ(FindGroup(&groups, "*orphan", true), nullptr);
  EXPECT_EQ(groups.Next(), nullptr);

  const std::vector<unsigned long> counts = {1, 2, 2, 4};
  for (int value = 0; value < 4; ++value) {
    option.Set(value);
    EXPECT_EQ(counts[size_t(value)], groups.Count()) << "display option " << value;
    EXPECT_FALSE(IsGrouPointerListEmpty(&groups));
  }
  option.Set(7);
  EXPECT_TRUE(groups.Empty());
  EXPECT_TRUE(IsGrouPointerListEmpty(nullptr));
  EXPECT_EQ(0u, GroupCount(nullptr));
  EXPECT_FALSE(IsRollDown(nullptr) || IsScrollPane(nullptr) || IsPropertyPage(nullptr));
}

TEST(PPDXGroupsTest, PropertyPagesKeepTheirFlagsAndPane) {
  PPDXProperty print("*PrintPage", CFSTR("Print"), true, true, false);
  PPDXProperty app("*AppPage", CFSTR("App"), false, false, true);
  PPDXScrollPane pane("*Pane", CFSTR("Pane"), true);
  SetPropertyScrollDown(&print, &pane);
  SetPropertyScrollDown(&print, nullptr);
  EXPECT_EQ(GetPropertyScrollDown(&print), &pane);
  print.SetScrollDown(nullptr);
  EXPECT_EQ(GetPropertyScrollDown(&print), nullptr);
  EXPECT_TRUE(IsPropertyPage(&print));
  EXPECT_FALSE(IsPropertyPage(&pane));

  PPDXProperties pages;
  pages.Add(&print);
  pages.Add(&app);
  EXPECT_EQ(FindProperty(&pages, "App", false), &app);
  Settings settings;
  ASSERT_EQ(0, pages.Save(settings));
  auto blob = ThroughBlob(settings);
  ASSERT_TRUE(blob);
  // A page whose first flag is missing shows nowhere, whatever its second says.
  ASSERT_EQ(0, blob->Remove(FourCC("SPPg"), 3002));
  PPDXProperties rebuilt(*blob);
  ASSERT_EQ(2u, PropertyCount(&rebuilt));
  PPDXProperty* first = FirstProperty(&rebuilt);
  PPDXProperty* second = NextProperty(&rebuilt);
  ASSERT_TRUE(first && second);
  EXPECT_EQ(NextProperty(&rebuilt), nullptr);
  EXPECT_STREQ(first->Keyword(), "*PrintPage");
  EXPECT_TRUE(ShowPropInPrintProp(first));
  EXPECT_FALSE(ShowPropInApp(first));
  EXPECT_STREQ(second->Keyword(), "*AppPage");
  EXPECT_FALSE(ShowPropInPrintProp(second) || ShowPropInApp(second) || second->IsVisible());
  EXPECT_EQ(second->GetScrollDown(), nullptr);
  delete first;
  delete second;

  EXPECT_TRUE(IsPropertyListEmpty(nullptr));
  EXPECT_EQ(FirstProperty(nullptr), nullptr);
  EXPECT_FALSE(ShowPropInApp(nullptr));
  EXPECT_TRUE(PPDXProperties(*std::make_unique<Settings>()).Empty());
}
