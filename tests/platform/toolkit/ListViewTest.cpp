// A list view from an interface file, driven through its callbacks: rows in
// the compare callback's order, containers the program fills when they open,
// selections and what the notifications report.
#include <map>
#include <string>
#include <vector>

#include "support/PrintersList.h"

namespace {

class ListViewTest : public ToolkitFixture {
 protected:
  ListViewTest() { sPrintersHeard = &mPrinters; }
  ~ListViewTest() override { sPrintersHeard = nullptr; }

  ControlRef OpenList() {
    mWindow = ShowWindowFromText(kPrintersListFile, CFSTR("Printers"));
    return SetUpPrintersList(mWindow);
  }

  static std::vector<DataBrowserItemID> Displayed(ControlRef list) {
    Handle items = NewHandle(0);
    EXPECT_EQ(GetDataBrowserItems(list, kDataBrowserNoItem, true, kDataBrowserItemAnyState, items),
              noErr);
    auto* ids = reinterpret_cast<DataBrowserItemID*>(*items);
    std::vector<DataBrowserItemID> rows(ids,
                                        ids + GetHandleSize(items) / sizeof(DataBrowserItemID));
    DisposeHandle(items);
    return rows;
  }

  PrintersHeard mPrinters;
  WindowRef mWindow = nullptr;
};

TEST_F(ListViewTest, RowsFollowTheCompareCallbackAndOpenContainers) {
  ControlRef list = OpenList();
  const DataBrowserItemID top[] = {1, 2, 3};
  ASSERT_EQ(AddDataBrowserItems(list, kDataBrowserNoItem, 3, top, kPrinterName), noErr);
  EXPECT_EQ(AddDataBrowserItems(list, kDataBrowserNoItem, 1, top, kPrinterName),
            paramErr);                                                    // already there
  EXPECT_EQ(Displayed(list), (std::vector<DataBrowserItemID>{1, 2, 3}));  // as added

  ASSERT_TRUE(mDriver.SortRows(list, kPrinterName, true));
  EXPECT_EQ(Displayed(list), (std::vector<DataBrowserItemID>{3, 1, 2}));  // Black Cyan Office
  ASSERT_TRUE(mDriver.SortRows(list, kPrinterName, false));
  EXPECT_EQ(Displayed(list), (std::vector<DataBrowserItemID>{2, 1, 3}));

  EXPECT_FALSE(mDriver.OpenRow(list, 1));  // no container
  mPrinters.heard.clear();
  ASSERT_TRUE(mDriver.OpenRow(list, 2));
  EXPECT_EQ(mPrinters.heard, (std::vector<std::string>{"2:8", "21:1", "22:1"}));
  EXPECT_EQ(Displayed(list), (std::vector<DataBrowserItemID>{2, 21, 22, 1, 3}));
  ItemCount count = 0;
  ASSERT_EQ(
      GetDataBrowserItemCount(list, kDataBrowserNoItem, false, kDataBrowserItemAnyState, &count),
      noErr);
  EXPECT_EQ(count, 3u);
  ASSERT_EQ(GetDataBrowserItemCount(list, 2, false, kDataBrowserItemAnyState, &count), noErr);
  EXPECT_EQ(count, 2u);

  ASSERT_TRUE(mDriver.SortRows(list, kPrinterName, true));
  EXPECT_EQ(HeadlessDriver::Dump(mWindow),
            "window class 6 \"\" [0 0 300 400] shown\n"
            "  'upan' '....' 0 [0 0 300 400] value 0 (0..0)\n"
            "    'upan' '....' 0 [0 0 300 400] value 0 (0..0)\n"
            "      'datb' 'list' 1 [0 0 200 300] value 0 (0..0)\n"
            "        | 'name' \"Name\"\n"
            "        row 3 \"Black\"\n"
            "        row 1 \"Cyan\"\n"
            "        row 2 open \"Office\"\n"
            "        row 22 \"Alpha\"\n"
            "        row 21 \"Zeta\"\n");

  ASSERT_TRUE(mDriver.CloseRow(list, 2));
  EXPECT_EQ(Displayed(list), (std::vector<DataBrowserItemID>{3, 1, 2}));
  EXPECT_FALSE(mDriver.CloseRow(list, 2));
  ASSERT_EQ(RemoveDataBrowserItems(list, kDataBrowserNoItem, 0, nullptr, kPrinterName), noErr);
  EXPECT_TRUE(Displayed(list).empty());
}

TEST_F(ListViewTest, SelectionsAndTheirNotifications) {
  ControlRef list = OpenList();
  const DataBrowserItemID top[] = {1, 2, 3};
  ASSERT_EQ(AddDataBrowserItems(list, kDataBrowserNoItem, 3, top, kPrinterName), noErr);
  mPrinters.heard.clear();
  ASSERT_TRUE(mDriver.SelectRow(list, 3));
  ASSERT_TRUE(mDriver.SelectRow(list, 1));
  EXPECT_EQ(mPrinters.heard, (std::vector<std::string>{"3:5", "0:14", "1:5", "3:6", "0:14"}));
  const DataBrowserItemID more[] = {3};
  ASSERT_EQ(SetDataBrowserSelectedItems(list, 1, more, kDataBrowserItemsAdd), noErr);
  DataBrowserItemID first = 0, last = 0;
  ASSERT_EQ(GetDataBrowserSelectionAnchor(list, &first, &last), noErr);
  EXPECT_EQ(first, 1u);
  EXPECT_EQ(last, 3u);
  ASSERT_EQ(SetDataBrowserSelectedItems(list, 1, more, kDataBrowserItemsToggle), noErr);
  ASSERT_EQ(GetDataBrowserSelectionAnchor(list, &first, &last), noErr);
  EXPECT_EQ(last, 1u);
  const DataBrowserItemID gone[] = {1};
  ASSERT_EQ(RemoveDataBrowserItems(list, kDataBrowserNoItem, 1, gone, kPrinterName), noErr);
  ASSERT_EQ(GetDataBrowserSelectionAnchor(list, &first, &last), noErr);
  EXPECT_EQ(first, kDataBrowserNoItem);
  EXPECT_EQ(RemoveDataBrowserItems(list, kDataBrowserNoItem, 1, gone, kPrinterName),
            errDataBrowserItemNotFound);

  EXPECT_FALSE(mDriver.SelectRow(list, 99));
  HideControl(list);
  EXPECT_FALSE(mDriver.SelectRow(list, 2));  // hidden lists take no clicks
}

}  // namespace
