// The Customize dialog of the main pane, driven through its lists and
// buttons: the option tree, adding groups and items, removing, moving at
// both ends, OK keeping the order the user sees, and Cancel.

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "carbon/MacMemory.h"
#include "support/PaneJob.h"
#include "ui/PPDTree.h"

namespace {

constexpr OSType kOptionListSignature = FourCC("SLST");
constexpr OSType kShortcutListSignature = FourCC("CLST");

std::vector<DataBrowserItemID> ListRows(ControlRef list, DataBrowserItemState state = 0) {
  Handle items = NewHandle(0);
  GetDataBrowserItems(list, kDataBrowserNoItem, true, state, items);
  std::vector<DataBrowserItemID> rows(size_t(GetHandleSize(items)) / sizeof(DataBrowserItemID));
  if (!rows.empty()) std::memcpy(rows.data(), *items, rows.size() * sizeof(DataBrowserItemID));
  DisposeHandle(items);
  return rows;
}

// The shortcut keywords, in order.
std::string ShortcutKeywords() {
  std::string keywords;
  for (const std::string& keyword : PPDTree::Shared().ShortcutKeywords()) keywords += keyword + " ";
  return keywords;
}

class Customize : public ToolkitFixture {
 protected:
  void Open(int groups, int perGroup, int shortcuts) {
    mPane = std::make_unique<PaneJob>(
        GeneratedPaneText(groups, perGroup, GeneratedShortcuts(shortcuts, perGroup)));
    mPanel = mPane->NewPanel();
    ASSERT_TRUE(mPanel->IsValid());
    mPanel->Show();
    ASSERT_TRUE(mDriver.Click(mPane->Control(FourCC("Cust"), UI_Panel::kCustomizeButton)));
    mWindow = mPanel->CustomizeWindow();
    ASSERT_NE(mWindow, nullptr);
    mOptions = FindControl(mWindow, kOptionListSignature, UI_Panel::kOptionList);
    mShortcuts = FindControl(mWindow, kShortcutListSignature, UI_Panel::kShortcutList);
    ASSERT_NE(mOptions, nullptr);
    ASSERT_NE(mShortcuts, nullptr);
  }
  bool Press(OSType signature, SInt32 number) {
    return mDriver.Click(FindControl(mWindow, signature, number));
  }
  bool Add() { return Press(FourCC("BUTN"), UI_Panel::kAddButton); }
  bool Remove() { return Press(FourCC("BUTN"), UI_Panel::kRemoveButton); }
  // The tree item of the generated option *ZPOpt<group>_<index>.
  static UInt32 Item(int group, int index) {
    const PPDTree& tree = PPDTree::Shared();
    const size_t g = tree.FindGroup(("G" + std::to_string(group)).c_str());
    return g < tree.GroupCount() ? PPDTree::ItemId(g, size_t(index)) : PPDTree::kNoItem;
  }
  static UInt32 Group(int group) {
    return PPDTree::GroupId(PPDTree::Shared().FindGroup(("G" + std::to_string(group)).c_str()));
  }

  std::unique_ptr<PaneJob> mPane;
  std::unique_ptr<UI_Panel> mPanel;
  WindowRef mWindow = nullptr;
  ControlRef mOptions = nullptr;
  ControlRef mShortcuts = nullptr;
};

TEST_F(Customize, ListsShowTheTreeAndTheShortcutsWithTheirNames) {
  Open(3, 4, 2);
  EXPECT_EQ(ListRows(mOptions), (std::vector<DataBrowserItemID>{1, 2, 3}));
  EXPECT_EQ(ListRows(mShortcuts), (std::vector<DataBrowserItemID>{Item(0, 0), Item(0, 1)}));
  const std::string dump = HeadlessDriver::Dump(mWindow);
  EXPECT_NE(dump.find("Group 1"), std::string::npos) << dump;
  EXPECT_NE(dump.find("ZPOpt0_1"), std::string::npos) << dump;
  ASSERT_TRUE(mDriver.OpenRow(mOptions, Group(1)));
  EXPECT_EQ(ListRows(mOptions).size(), 3u + 4u);
  // Each list's selection enables its own button only.
  EXPECT_FALSE(Add());
  ASSERT_TRUE(mDriver.SelectRow(mOptions, Item(1, 2)));
  EXPECT_FALSE(Remove());
  ASSERT_TRUE(mDriver.SelectRow(mShortcuts, Item(0, 0)));
  EXPECT_TRUE(ListRows(mOptions, kDataBrowserItemIsSelected).empty());
  EXPECT_FALSE(Add());
}

TEST_F(Customize, AddTakesAGroupsItemsOnceAndRemoveTakesThemOut) {
  Open(3, 4, 2);
  ASSERT_TRUE(mDriver.SelectRow(mOptions, Group(0)));
  ASSERT_TRUE(Add());
  EXPECT_EQ(ListRows(mShortcuts),
            (std::vector<DataBrowserItemID>{Item(0, 0), Item(0, 1), Item(0, 2), Item(0, 3)}));
  ASSERT_TRUE(mDriver.OpenRow(mOptions, Group(2)));
  ASSERT_TRUE(mDriver.SelectRow(mOptions, Item(2, 3)));
  ASSERT_TRUE(Add());
  ASSERT_TRUE(Add());  // again: not twice
  EXPECT_EQ(ListRows(mShortcuts).size(), 5u);
  EXPECT_EQ(ListRows(mShortcuts).back(), Item(2, 3));
  ASSERT_TRUE(mDriver.SelectRow(mShortcuts, Item(0, 1)));
  ASSERT_TRUE(Remove());
  EXPECT_EQ(ListRows(mShortcuts),
            (std::vector<DataBrowserItemID>{Item(0, 0), Item(0, 2), Item(0, 3), Item(2, 3)}));
}

TEST_F(Customize, AddStopsAtNinetyNineShortcuts) {
  Open(10, 11, 0);
  ASSERT_EQ(PPDTree::Shared().GroupCount(), 10u);
  for (UInt32 group = 1; group <= 10; ++group) {
    ASSERT_TRUE(mDriver.SelectRow(mOptions, group));
    ASSERT_TRUE(Add());
  }
  EXPECT_EQ(ListRows(mShortcuts).size(), PPDTree::kMaxShortcuts);
}

TEST_F(Customize, MovesSwapNeighboursAndStopAtTheEnds) {
  Open(1, 4, 3);
  const std::vector<DataBrowserItemID> start = ListRows(mShortcuts);
  ASSERT_EQ(start.size(), 3u);
  ASSERT_TRUE(mDriver.SelectRow(mShortcuts, start[0]));
  ASSERT_TRUE(Press(FourCC("movu"), 1));
  EXPECT_EQ(ListRows(mShortcuts), start);
  ASSERT_TRUE(mDriver.SelectRow(mShortcuts, start[2]));
  ASSERT_TRUE(Press(FourCC("movd"), 1));
  EXPECT_EQ(ListRows(mShortcuts), start);
  ASSERT_TRUE(Press(FourCC("movu"), 1));
  EXPECT_EQ(ListRows(mShortcuts), (std::vector<DataBrowserItemID>{start[0], start[2], start[1]}));
  ASSERT_TRUE(Press(FourCC("movu"), 1));  // the moved entry stays selected
  EXPECT_EQ(ListRows(mShortcuts), (std::vector<DataBrowserItemID>{start[2], start[0], start[1]}));
  ASSERT_TRUE(mDriver.SelectRow(mShortcuts, start[0]));
  ASSERT_TRUE(Press(FourCC("movd"), 1));
  EXPECT_EQ(ListRows(mShortcuts), (std::vector<DataBrowserItemID>{start[2], start[1], start[0]}));
}

TEST_F(Customize, OKKeepsTheDisplayedOrderAndANewPaneShowsIt) {
  Open(2, 4, 3);
  ASSERT_TRUE(mDriver.SelectRow(mShortcuts, Item(0, 2)));
  ASSERT_TRUE(Press(FourCC("movu"), 1));
  ASSERT_TRUE(Press(FourCC("movu"), 1));
  ASSERT_TRUE(mDriver.OpenRow(mOptions, Group(1)));
  ASSERT_TRUE(mDriver.SelectRow(mOptions, Item(1, 1)));
  ASSERT_TRUE(Add());
  ASSERT_TRUE(Press(FourCC("ok  "), 1));
  EXPECT_EQ(mPanel->CustomizeWindow(), nullptr);
  const std::string order = "*ZPOpt0_2 *ZPOpt0_0 *ZPOpt0_1 *ZPOpt1_1 ";
  EXPECT_EQ(ShortcutKeywords(), order);
  EXPECT_EQ(UI_Panel::ScrollOffset(), 0);
  ControlRef firstRow = mPane->Control(FourCC("Ttle"), UI_Panel::kPopupRowBase);
  CFStringRef title = nullptr;
  CopyControlTitleAsCFString(firstRow, &title);
  EXPECT_EQ(TakeText(title), "ZPOpt0_2: ");
  std::vector<std::string> saved;
  ASSERT_TRUE(mPane->Job().Data().GetPPDShortcuts(saved));
  EXPECT_EQ(saved, (std::vector<std::string>{"*ZPOpt0_2", "*ZPOpt0_0", "*ZPOpt0_1", "*ZPOpt1_1"}));

  mPanel.reset();
  PPDTree::Shared().Clear();
  mPanel = mPane->NewPanel();
  EXPECT_EQ(ShortcutKeywords(), order);
}

TEST_F(Customize, CancelChangesNothing) {
  Open(2, 4, 3);
  const std::string before = ShortcutKeywords();
  ASSERT_TRUE(mDriver.SelectRow(mShortcuts, Item(0, 0)));
  ASSERT_TRUE(Remove());
  ASSERT_TRUE(mDriver.PressEscape());
  EXPECT_EQ(mPanel->CustomizeWindow(), nullptr);
  EXPECT_EQ(ShortcutKeywords(), before);
  std::vector<std::string> saved;
  EXPECT_FALSE(mPane->Job().Data().GetPPDShortcuts(saved) && !saved.empty());
  // Opened again, it shows the list as it was.
  ASSERT_TRUE(mDriver.Click(mPane->Control(FourCC("Cust"), UI_Panel::kCustomizeButton)));
  mShortcuts =
      FindControl(mPanel->CustomizeWindow(), kShortcutListSignature, UI_Panel::kShortcutList);
  EXPECT_EQ(ListRows(mShortcuts).size(), 3u);
}

TEST(PPDTreeTest, KeywordsThatDoNotFitAreLeftOutWhole) {
  PPDTree tree;
  const std::string fits(63, 'K');
  const std::string tooLong(64, 'K');
  EXPECT_TRUE(tree.AddGroup("G", CFSTR("G")));
  EXPECT_FALSE(tree.AddGroup(tooLong.c_str(), CFSTR("long")));
  EXPECT_EQ(tree.AddItem(0, fits.c_str(), CFSTR("fits")), 100u);
  EXPECT_EQ(tree.AddItem(0, tooLong.c_str(), CFSTR("long")), PPDTree::kNoItem);
  EXPECT_TRUE(tree.AddShortcut(fits.c_str(), CFSTR("fits")));
  EXPECT_FALSE(tree.AddShortcut(tooLong.c_str(), CFSTR("long")));
  EXPECT_EQ(tree.ShortcutCount(), 1u);
  EXPECT_EQ(tree.GroupAt(0).items.size(), 1u);
  for (int i = 1; i < 40; ++i) tree.AddItem(0, ("*I" + std::to_string(i)).c_str(), CFSTR("i"));
  EXPECT_EQ(tree.GroupAt(0).items.size(), PPDTree::kMaxItems);
}

TEST(PPDTreeTest, EmptyGroupsGoAndShortcutsFollowTheirItems) {
  PPDTree tree;
  tree.AddGroup("Empty", CFSTR("Empty"));
  tree.AddGroup("Full", CFSTR("Full"));
  tree.AddItem(1, "*A", CFSTR("A"));
  const UInt32 b = tree.AddItem(1, "*B", CFSTR("B"));
  tree.AddShortcut("*B", CFSTR("B"), b);
  EXPECT_EQ(b, 201u);
  tree.RemoveEmptyGroups();
  ASSERT_EQ(tree.GroupCount(), 1u);
  EXPECT_EQ(tree.ShortcutAt(0).itemId, 101u);
  EXPECT_EQ(tree.ItemOf(101)->keyword, "*B");
  EXPECT_EQ(tree.ItemOf(1), nullptr);
  EXPECT_EQ(tree.ItemOf(102), nullptr);
  EXPECT_EQ(tree.ItemOf(301), nullptr);
  EXPECT_EQ(tree.ItemIdsOf(1), (std::vector<UInt32>{100, 101}));
  EXPECT_TRUE(tree.ItemIdsOf(2).empty());
  for (int i = 0; i < 120; ++i) tree.AddShortcut(("*S" + std::to_string(i)).c_str(), CFSTR("s"));
  EXPECT_EQ(tree.ShortcutCount(), PPDTree::kMaxShortcuts);
}

}  // namespace
