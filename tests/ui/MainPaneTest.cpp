// The main pane built from the bundle's interface file over our own PPDs and
// the sample, driven as a user drives it: the rows of the basic panel and
// their scrolling, the small-screen layout, Reset, the paper from page setup,
// the address commands and the PPD's copy.

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <limits>
#include <memory>
#include <string>

#include "PPDX/PPDObjects/Controls/PPDXPopupControl.h"
#include "PPDX/PPDObjects/PPDXControls.h"
#include "plugin/SessionFunctions.h"
#include "print/PMTicket.h"
#include "support/CompanionRun.h"
#include "support/FileText.h"
#include "support/PaneJob.h"
#include "support/WidgetText.h"
#include "toolkit/ToolkitMenu.h"
#include "ui/PPDTree.h"
#include "ui/UI_IPAddressPanel.h"

namespace {

constexpr OSType kRowControl = FourCC("Cntl");
constexpr OSType kRowTitle = FourCC("Ttle");

// The rows the basic panel shows, top to bottom: a pop-up row by its title, a
// check box as "[x] " and its title; a disabled pop-up ends in " (off)".
std::string RowsShown(const PaneJob& pane) {
  std::string rows;
  for (SInt32 k = 0; k < SInt32(UI_Panel::kWidgetSlots); ++k) {
    ControlRef popup = pane.Control(kRowControl, UI_Panel::kPopupRowBase + k);
    ControlRef box = pane.Control(kRowControl, UI_Panel::kCheckBoxRowBase + k);
    if (popup != nullptr && IsControlVisible(popup)) {
      rows += WidgetTitle(pane.Control(kRowTitle, UI_Panel::kPopupRowBase + k)) +
              (IsControlEnabled(popup) ? "" : " (off)") + "|";
    } else if (box != nullptr && IsControlVisible(box)) {
      rows += "[x] " + WidgetTitle(box) + "|";
    }
  }
  return rows;
}

class MainPane : public ToolkitFixture {
 protected:
  std::unique_ptr<PaneJob> mPane;

  UI_Panel& Open(const std::string& ppd = SamplePPDText(), const std::string& name = "job.ppd") {
    mPane = std::make_unique<PaneJob>(ppd, name);
    mPanel = mPane->NewPanel();
    EXPECT_TRUE(mPanel->IsValid());
    EXPECT_TRUE(mPanel->IsBuilt());
    mPanel->Show();
    return *mPanel;
  }
  ControlRef Scroll() const { return mPane->Control(FourCC("Scrl"), UI_Panel::kScrollBar); }

  std::unique_ptr<UI_Panel> mPanel;
};

TEST_F(MainPane, TwelveShortcutsScrollOnEightRows) {
  Open(GeneratedPaneText(2, 8, GeneratedShortcuts(12, 8)));
  EXPECT_EQ(GetControl32BitMaximum(Scroll()), 4);
  EXPECT_TRUE(IsControlVisible(Scroll()));
  EXPECT_EQ(
      RowsShown(*mPane),
      "ZPOpt0_0: |ZPOpt0_1: |ZPOpt0_2: |ZPOpt0_3: |ZPOpt0_4: |ZPOpt0_5: |ZPOpt0_6: |ZPOpt0_7: |");
  LiveActionProc(Scroll(), kControlPageDownPart);
  EXPECT_EQ(UI_Panel::ScrollOffset(), 4);
  EXPECT_EQ(
      RowsShown(*mPane),
      "ZPOpt0_4: |ZPOpt0_5: |ZPOpt0_6: |ZPOpt0_7: |ZPOpt1_0: |ZPOpt1_1: |ZPOpt1_2: |ZPOpt1_3: |");
  LiveActionProc(Scroll(), kControlPageDownPart);  // at the maximum: stays
  EXPECT_EQ(UI_Panel::ScrollOffset(), 4);
  LiveActionProc(Scroll(), kControlUpButtonPart);
  EXPECT_EQ(RowsShown(*mPane).substr(0, 10), "ZPOpt0_3: ");
  LiveActionProc(Scroll(), kControlPageUpPart);
  LiveActionProc(Scroll(), kControlUpButtonPart);  // at the minimum: stays
  EXPECT_EQ(UI_Panel::ScrollOffset(), 0);
}

TEST_F(MainPane, SmallScreenHasFourRowsAndShiftsOncePerPane) {
  PaneJob::UseSmallScreen();
  Open(GeneratedPaneText(2, 8, GeneratedShortcuts(9, 8)));
  EXPECT_TRUE(UI_Panel::IsSmallScreen());
  EXPECT_EQ(UI_Panel::PageStep(), 2);
  EXPECT_EQ(GetControl32BitMaximum(Scroll()), 6);
  EXPECT_EQ(RowsShown(*mPane), "ZPOpt0_0: |ZPOpt0_1: |ZPOpt0_2: |ZPOpt0_3: |");
  LiveActionProc(Scroll(), kControlPageDownPart);
  EXPECT_EQ(UI_Panel::ScrollOffset(), 2);
  const Rect reset = BoundsOf(mPane->Control(FourCC("Rest"), UI_Panel::kResetButton));
  mPanel->Hide();
  mPanel->Show();  // shown twice, shifted once
  EXPECT_EQ(BoundsOf(mPane->Control(FourCC("Rest"), UI_Panel::kResetButton)).top, reset.top);

  // A fresh pane of the same layout: the same place as the first one had.
  mPanel.reset();
  mPanel = mPane->NewPanel();
  mPanel->Show();
  EXPECT_EQ(BoundsOf(mPane->Control(FourCC("Rest"), UI_Panel::kResetButton)).top, reset.top);

  // Without the small screen the buttons sit 110 pixels lower.
  mPanel.reset();
  SetMainDisplayBounds(CGRectMake(0, 0, 1440, 900));
  mPanel = mPane->NewPanel();
  mPanel->Show();
  EXPECT_FALSE(UI_Panel::IsSmallScreen());
  EXPECT_EQ(UI_Panel::PageStep(), 4);
  EXPECT_EQ(BoundsOf(mPane->Control(FourCC("Rest"), UI_Panel::kResetButton)).top - reset.top,
            UI_Panel::kSmallScreenShift);
}

TEST_F(MainPane, GroupsAreCentredInTheParentPaneNeverAboveOrLeftOfIt) {
  // "PDEMain" is 540 x 420; the address group 520 x 65 at (10, 345), the rows
  // group 520 x 330 at (10, 10).
  Open();
  ControlRef address = mPane->Control(FourCC("User"), UI_Panel::kAddressGroup);
  ControlRef rows = mPane->Control(FourCC("UseR"), UI_Panel::kRowsGroup);
  ASSERT_NE(address, nullptr);
  ASSERT_NE(rows, nullptr);
  EXPECT_EQ(BoundsOf(address).left, 20);  // a pane narrower than the group: no offset
  EXPECT_EQ(BoundsOf(address).top, 20 + 345);
  EXPECT_EQ(BoundsOf(rows).top, 20 + 10);
  const Rect pane = BoundsOf(mPane->ParentPane());
  EXPECT_EQ(pane.bottom, 20 + 345 + 65);  // grown to cover both groups
  EXPECT_EQ(pane.right, 20 + 520);

  mPanel.reset();
  mPane = std::make_unique<PaneJob>(SamplePPDText(), "job.ppd", Rect{0, 0, 500, 700});
  mPanel = mPane->NewPanel();
  EXPECT_EQ(BoundsOf(mPane->Control(FourCC("User"), UI_Panel::kAddressGroup)).left,
            (700 - 520) / 2);
  EXPECT_EQ(BoundsOf(mPane->Control(FourCC("UseR"), UI_Panel::kRowsGroup)).top,
            (500 - 420) / 2 + 10);
}

TEST_F(MainPane, ExactlyAsManyShortcutsAsRowsNeedNoScrollBar) {
  Open(GeneratedPaneText(1, 8, GeneratedShortcuts(8, 8)));
  EXPECT_EQ(GetControl32BitMaximum(Scroll()), 0);
  EXPECT_FALSE(IsControlVisible(Scroll()));
}

TEST_F(MainPane, WithoutShortcutsOnlyTheFixedRowsTheDocumentHas) {
  const std::string sort =
      "*%ZPXFlags *ZPSort: Setup\n*%ZPXGroup *ZPSort G0/Sort\n*OpenUI *ZPSort/Sort: "
      "PickOne\n*DefaultZPSort: A\n*ZPSort A/Sorted: \"\"\n"
      "*ZPSort B/Unsorted: \"\"\n*CloseUI: *ZPSort\n";
  Open(GeneratedPaneText(1, 2, sort));
  EXPECT_EQ(RowsShown(*mPane), "Sort: |");
}

TEST_F(MainPane, ShortcutWithoutItsOptionMakesNoRow) {
  Open(GeneratedPaneText(1, 3, "*%ZPShortcut *ZPOpt0_0\n*%ZPShortcut *ZPOpt0_2\n"));
  PPDTree& tree = PPDTree::Shared();
  ASSERT_EQ(tree.ShortcutCount(), 2u);
  EXPECT_EQ(GetControl32BitMaximum(Scroll()), 0);  // fewer shortcuts than rows: never below 0
  // A shortcut the user saved for an option this PPD no longer has.
  tree.AddShortcut("*ZPGone", CFSTR("Gone"));
  tree.AddShortcut("*ZPOpt0_1", CFSTR("ZPOpt0_1"));
  mPanel->CreateBasicPanel();
  EXPECT_EQ(RowsShown(*mPane), "ZPOpt0_0: |ZPOpt0_2: |ZPOpt0_1: |");
}

TEST_F(MainPane, SampleRowsWithPageSizeDisabledAndTheTree) {
  Open();
  const std::string rows = RowsShown(*mPane);
  EXPECT_NE(rows.find("Page Size:  (off)|"), std::string::npos) << rows;
  EXPECT_NE(rows.find("Two-Sided: |"), std::string::npos) << rows;
  EXPECT_TRUE(IsControlDisabled("*PageSize"));
  EXPECT_FALSE(IsControlDisabled("*PageSizeX"));
  const PPDTree& tree = PPDTree::Shared();
  ASSERT_GT(tree.GroupCount(), 0u);
  for (size_t g = 0; g < tree.GroupCount(); ++g) {
    EXPECT_NE(tree.GroupAt(g).keyword, "ZPPPInstallableOptions");
    EXPECT_FALSE(tree.GroupAt(g).items.empty());
  }
  // Every shortcut knows its option's place in the tree.
  const PPDTree::Shortcut* duplex = GetShortcutFromKeyword("*ZPDuplex");
  ASSERT_NE(duplex, nullptr);
  ASSERT_NE(tree.ItemOf(duplex->itemId), nullptr);
  EXPECT_EQ(tree.ItemOf(duplex->itemId)->keyword, "*ZPDuplex");
  EXPECT_EQ(GetShortcutFromKeyword("*ZPStapler"), nullptr);
}

// The document's first group is its first scroll pane, which holds no
// options; the first option is never an item either.
TEST_F(MainPane, TreeListsTheGroupsInOrderWithoutTheFirstOption) {
  Open(GeneratedPaneText(3, 2, ""));
  const PPDTree& tree = PPDTree::Shared();
  std::string listed;
  for (size_t g = 0; g < tree.GroupCount(); ++g) {
    listed += tree.GroupAt(g).keyword + ":";
    for (const PPDTree::Item& item : tree.GroupAt(g).items) listed += item.keyword + ",";
  }
  EXPECT_EQ(listed, "G0:*ZPOpt0_0,*ZPOpt0_1,G1:*ZPOpt1_0,*ZPOpt1_1,G2:*ZPOpt2_0,*ZPOpt2_1,");
  EXPECT_EQ(TakeText(CFStringCreateCopy(nullptr, tree.NameOf(2))), "Group 1");
  EXPECT_EQ(TakeText(CFStringCreateCopy(nullptr, tree.NameOf(201))), "ZPOpt1_1");
}

TEST_F(MainPane, ResetLeavesInstallableOptionsAlone) {
  Open();
  mPane->Job().Set("*ZPDuplex", "Top");
  mPane->Job().Set("*ZPOptionalFinisher", "Stapler");
  mPanel->ResetControlsToDefault();
  EXPECT_EQ(mPane->Job().Current("*ZPDuplex"), "False");
  EXPECT_EQ(mPane->Job().Current("*ZPOptionalFinisher"), "Stapler");
  // Through the button, as the user does it.
  mPane->Job().Set("*ZPDuplex", "Top");
  EXPECT_TRUE(mDriver.Click(mPane->Control(FourCC("Rest"), UI_Panel::kResetButton)));
  EXPECT_EQ(mPane->Job().Current("*ZPDuplex"), "False");
}

TEST_F(MainPane, PageSetupPaperInThePPDIsSelectedWithoutCustomSize) {
  mPane = std::make_unique<PaneJob>();
  mPane->SetPageSetupPaper(CFSTR("US Letter"), {-18, -18, 774, 594});
  mPane->Job().Set("*PageSize", "A4");
  mPanel = mPane->NewPanel();
  EXPECT_EQ(mPane->Job().Current("*PageSize"), "Letter");
  EXPECT_FALSE(mPane->Job().Data().IsDocumentPageSizeInUse());
  EXPECT_EQ(mPanel->CustomPrintSizeText(), "");
}

TEST_F(MainPane, UnknownPageSetupPaperBecomesTheCustomPrintSize) {
  mPane = std::make_unique<PaneJob>();
  mPane->SetPageSetupPaper(CFSTR("Oddball"), {-18, -18, 774, 594});
  mPanel = mPane->NewPanel();
  EXPECT_TRUE(mPane->Job().Data().IsDocumentPageSizeInUse());
  EXPECT_EQ(mPane->Job().Current("*ZPPrintSize"), "CustomPrintSize");
  EXPECT_EQ(mPanel->CustomPrintSizeText(), "612.000000 792.000000");
  EXPECT_EQ(TakeText(CFStringCreateCopy(nullptr, mPanel->PaperName())), "Oddball");
  // The page size row shows the paper's own name on its first choice.
  mPanel->Show();
  ControlRef row = mPane->Control(kRowControl, UI_Panel::kPopupRowBase);
  EXPECT_EQ(GetControl32BitValue(row), 1);
  EXPECT_EQ(GetControlPopupMenuHandle(row)->mItems[0].text, "Oddball");
}

TEST_F(MainPane, MalformedPaperRectanglesMakeNoCustomSize) {
  const std::initializer_list<float> bad[] = {{-18, -18, 774},
                                              {0, 0, 0, 0},
                                              {0, 0, 200000, 10},
                                              {0, 0, std::numeric_limits<float>::infinity(), 10},
                                              {0, 0, std::numeric_limits<float>::quiet_NaN(), 10}};
  for (const auto& rect : bad) {
    mPanel.reset();
    mPane = std::make_unique<PaneJob>();
    mPane->SetPageSetupPaper(CFSTR("Oddball"), rect);
    mPanel = mPane->NewPanel();
    EXPECT_FALSE(mPane->Job().Data().IsDocumentPageSizeInUse());
    EXPECT_EQ(mPanel->CustomPrintSizeText(), "");
    EXPECT_NE(mPane->Job().Current("*ZPPrintSize"), "CustomPrintSize");
  }
}

TEST_F(MainPane, AddressCommandsMarkTheAreaAndStoreTheAddress) {
  Open();
  ASSERT_NE(mPanel->AddressArea(), nullptr);
  EXPECT_FALSE(mPanel->SettingsChanged());
  EXPECT_EQ(mPanel->ProcessCommandEvent(UI_IPAddressPanel::kSwitchChangedCommand),
            eventNotHandledErr);
  EXPECT_TRUE(mPanel->SettingsChanged());
  EXPECT_EQ(AreaField(mPanel->AreaId(), SharedMemoryList::kChangedOffset, 2), "1");

  // An address the area did not see change is not stored.
  mPanel.reset();
  mPane->CopyBuiltResource("BidiUI.ui");
  mPanel = mPane->NewPanel();
  mPanel->Show();
  mPanel->ProcessCommandEvent(UI_IPAddressPanel::kAddressChangedCommand);
  EXPECT_FALSE(mPanel->SettingsChanged());
  // The switch without an address asks for one; the pane hears of it.
  mDriver.QueueModalStep([this] {
    EXPECT_TRUE(mDriver.Type("10.1.2.3"));
    EXPECT_TRUE(mDriver.PressReturn());
  });
  ASSERT_TRUE(mDriver.Click(
      mPane->Control(UI_IPAddressPanel::kSwitchSignature, UI_IPAddressPanel::kControlNumber)));
  EXPECT_TRUE(mPanel->SettingsChanged());
  CFStringRef stored =
      mPane->Job().Data().GetMelvanePrinterAddress(mPane->Job().Data().PrinterName());
  EXPECT_EQ(TakeText(CFStringCreateCopy(nullptr, stored)), "10.1.2.3");
}

TEST_F(MainPane, EventsReachOnlyTheLivePaneWithADocument) {
  Open(GeneratedPaneText(2, 8, GeneratedShortcuts(12, 8)));
  ControlRef scroll = Scroll();
  SetControl32BitValue(scroll, 2);
  // A newer pane is the live one: the first one's handlers ignore the click.
  auto newer = mPane->NewPanel();
  EXPECT_EQ(UI_Panel::LivePanel(), newer.get());
  EXPECT_TRUE(mDriver.Click(scroll));
  EXPECT_EQ(UI_Panel::ScrollOffset(), 0);
  newer.reset();
  EXPECT_EQ(UI_Panel::LivePanel(), nullptr);

  mPanel.reset();
  Open(GeneratedPaneText(2, 8, GeneratedShortcuts(12, 8)));
  SetControl32BitValue(Scroll(), 2);
  EXPECT_TRUE(mDriver.Click(Scroll()));
  EXPECT_EQ(UI_Panel::ScrollOffset(), 2);
  EXPECT_EQ(RowsShown(*mPane).substr(0, 10), "ZPOpt0_2: ");

  // The document goes: the rows go with it and nothing answers a click.
  mPanel->DocumentDestroyed();
  EXPECT_EQ(UI_Panel::CurrentDocument(), nullptr);
  EXPECT_EQ(RowsShown(*mPane), "");
  EXPECT_FALSE(mDriver.Click(mPane->Control(kRowControl, UI_Panel::kPopupRowBase)));
  SetControl32BitValue(Scroll(), 4);
  EXPECT_TRUE(mDriver.Click(Scroll()));
  EXPECT_EQ(UI_Panel::ScrollOffset(), 2);
  EXPECT_EQ(RowsShown(*mPane), "");
}

TEST_F(MainPane, PPDIsCopiedWithoutAShellAndNeverThroughALink) {
  const std::string odd = "odd\"; $(touch x).ppd";
  Open(SamplePPDText(), odd);
  const std::string copy = mPane->PPDPath() + ".ppd";
  EXPECT_EQ(FileText(copy), SamplePPDText());
  struct stat info;
  ASSERT_EQ(stat(copy.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0022, 0u);
  EXPECT_FALSE(std::filesystem::exists("x"));
  EXPECT_FALSE(
      std::filesystem::exists(std::filesystem::path(mPane->PPDPath()).parent_path() / "x"));

  mPanel.reset();
  mPane = std::make_unique<PaneJob>();
  const std::string target = mPane->PPDPath() + ".target";
  { std::ofstream(target) << "keep"; }
  const std::string planted = mPane->PPDPath() + ".ppd";
  std::filesystem::remove(planted);
  ASSERT_EQ(symlink(target.c_str(), planted.c_str()), 0);
  mPanel = mPane->NewPanel();
  EXPECT_EQ(FileText(target), "keep");
  EXPECT_EQ(FileText(planted), SamplePPDText());
}

TEST_F(MainPane, APaneWithoutPrinterStaysInvalid) {
  mPane = std::make_unique<PaneJob>();
  PMPrintSession session = nullptr;
  PMCreateSession(&session);
  {
    PDEData data(session, &mPane->Job().Document(), nullptr);
    UI_Panel panel(mPane->Nib(), mPane->ParentPane(), &data);
    EXPECT_FALSE(panel.IsValid());
    EXPECT_FALSE(panel.IsBuilt());
    EXPECT_EQ(panel.CommitUserChanges(), noErr);
  }
  PMRelease(session);
}

}  // namespace
