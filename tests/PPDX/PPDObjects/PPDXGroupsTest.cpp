#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "PPDX/PPDObjects/PPDXGroups.h"
#include "PPDX/PPDObjects/PPDXLayoutAPI.h"
#include "PPDX/PPDObjects/PPDXProperties.h"
#include "PPDX/PPDObjects/PPDXProperty.h"
#include "PPDX/PPDObjects/PPDXRollDown.h"
#include "PPDX/PPDObjects/PPDXScrollPane.h"
#include "foundation/CString.h"
#include "foundation/SettingsStrings.h"
#include "support/ControlTestSupport.h"
#include "support/DisplayOption.h"
#include "support/WalkedKeywords.h"

TEST(PPDXGroupsTest, EachGroupComesBackAsItsClassNamingItsParent) {
  DisplayOption all(DISPLAY_ALL);
  PPDXScrollPane pane("*Pane", CFSTR("Pane"), true);
  PPDXRollDown paper("*Paper", CFSTR("Paper"), true), finish("*Finish", CFSTR("Finish"), false);
  PPDXGroup plain("*Plain", CFSTR("Plain"), true);
  paper.SetParent(&pane);
  finish.SetParent(&pane);
  PPDXGroups groups;
  for (PPDXGroup* group : std::vector<PPDXGroup*>{&pane, &paper, &finish, &plain})
    groups.Add(group);
  Settings settings;
  ASSERT_EQ(0, groups.Save(settings));
  std::unique_ptr<CString> parent(GetSettingsString(settings, FourCC("PrNm"), 4003));
  ASSERT_TRUE(parent);
  EXPECT_STREQ(*parent, "*Pane");

  auto blob = Unflattened(settings);
  ASSERT_TRUE(blob);
  PPDXGroups rebuilt(*blob);
  EXPECT_EQ(WalkedKeywords(rebuilt, FirstGroup, NextGroup),
            (std::vector<std::string>{"*Pane", "*Paper", "*Finish", "*Plain"}));
  std::vector<std::unique_ptr<PPDXGroup>> owned;
  for (PPDXGroup* group = rebuilt.First(); group; group = rebuilt.Next()) owned.emplace_back(group);
  EXPECT_TRUE(IsScrollPane(owned[0].get()) && IsRollDown(owned[1].get()) &&
              IsRollDown(owned[2].get()));
  EXPECT_FALSE(IsRollDown(owned[0].get()) || IsScrollPane(owned[3].get()) ||
               IsRollDown(owned[3].get()) || owned[2]->IsVisible());
  std::unique_ptr<CString> pending(owned[2]->TakeParentKeyword());
  ASSERT_TRUE(pending);
  EXPECT_STREQ(*pending, "*Pane");
  EXPECT_EQ(owned[0]->TakeParentKeyword(), nullptr);
}

TEST(PPDXGroupsTest, WalksFilterByDisplayOptionWhileFindSeesEverything) {
  DisplayOption option(DISPLAY_ATTACHED_VISIBLE);
  PPDXScrollPane pane("*Pane", CFSTR("Pane"), true);
  PPDXGroup orphan("*Orphan", CFSTR("Orphan"), true);
  PPDXRollDown hidden("*HiddenFinishing", CFSTR("Hidden"), false);
  PPDXRollDown shown("*Shown", CFSTR("Shown"), true);
  PPDXGroup hiddenOrphan("*HiddenOrphan", CFSTR("Hidden orphan"), false);
  PPDXGroup secondOrphan("*Orphan", CFSTR("Second"), false);
  hidden.SetParent(&pane);
  shown.SetParent(&pane);
  PPDXGroups groups;
  for (PPDXGroup* group :
       std::vector<PPDXGroup*>{&orphan, &hidden, &shown, &hiddenOrphan, &secondOrphan})
    groups.Add(group);

  EXPECT_EQ(WalkedKeywords(groups, FirstGroup, NextGroup), std::vector<std::string>{"*Shown"});
  // Find ignores the filter and leaves the walk where it was.
  EXPECT_EQ(groups.First(), &shown);
  EXPECT_EQ(FindGroup(&groups, "Finishing", true), nullptr);
  EXPECT_EQ(FindGroup(&groups, "*Orphan", true), &orphan);
  EXPECT_EQ(FindGroup(&groups, "*Orpha", true), nullptr);
  EXPECT_EQ(FindGroup(&groups, "*HiddenOrphan", true), &hiddenOrphan);
  EXPECT_EQ(FindGroup(&groups, "Finishing", false), &hidden);
  EXPECT_EQ(groups.Next(), nullptr);

  const unsigned long counts[] = {1, 2, 2, 5};
  for (int value = 0; value < 4; ++value) {
    option.Set(value);
    EXPECT_EQ(counts[value], GroupCount(&groups)) << "display option " << value;
    EXPECT_FALSE(IsGrouPointerListEmpty(&groups));
  }
  option.Set(7);
  EXPECT_TRUE(IsGrouPointerListEmpty(&groups) && IsGrouPointerListEmpty(nullptr));
  EXPECT_FALSE(IsRollDown(nullptr) || IsScrollPane(nullptr) || IsPropertyPage(nullptr));
}

TEST(PPDXGroupsTest, PropertyPagesKeepTheirFlagsAndPane) {
  PPDXProperty print("*PrintPage", CFSTR("Print"), true, true, false);
  PPDXProperty app("*AppPage", CFSTR("App"), true, true, true);
  PPDXScrollPane pane("*Pane", CFSTR("Pane"), true);
  SetPropertyScrollDown(&print, &pane);
  SetPropertyScrollDown(&print, nullptr);
  EXPECT_EQ(GetPropertyScrollDown(&print), &pane);
  print.SetScrollDown(nullptr);
  EXPECT_EQ(GetPropertyScrollDown(&print), nullptr);
  EXPECT_TRUE(IsPropertyPage(&print) && !IsPropertyPage(&pane));

  PPDXProperties pages;
  pages.Add(&print);
  pages.Add(&app);
  EXPECT_EQ(FindProperty(&pages, "App", false), &app);
  Settings settings;
  ASSERT_EQ(0, pages.Save(settings));
  auto blob = Unflattened(settings);
  ASSERT_TRUE(blob);
  // A page whose first flag is missing shows nowhere, whatever its second says.
  ASSERT_EQ(0, blob->Remove(FourCC("SPPg"), 3002));
  PPDXProperties rebuilt(*blob);
  ASSERT_EQ(2u, PropertyCount(&rebuilt));
  std::unique_ptr<PPDXProperty> first(FirstProperty(&rebuilt)), second(NextProperty(&rebuilt));
  ASSERT_TRUE(first && second);
  EXPECT_STREQ(second->Keyword(), "*AppPage");
  EXPECT_TRUE(ShowPropInPrintProp(first.get()) && !ShowPropInApp(first.get()));
  EXPECT_FALSE(ShowPropInPrintProp(second.get()) || ShowPropInApp(second.get()));
  EXPECT_TRUE(IsPropertyListEmpty(nullptr));
}
