// A list view from an interface file, driven through its callbacks: rows in
// the compare callback's order, containers the program fills when they open,
// selections and what the notifications report.
#include <map>
#include <string>
#include <vector>

#include "support/ToolkitFixture.h"
#include "toolkit/DataBrowser.h"

namespace {

const char kListFile[] = R"(<interface>
  <object class="GtkWindow" id="Printers">
    <child>
      <object class="GtkFixed">
        <child>
          <object class="GtkTreeView" id="Printers:list:1">
            <property name="width-request">300</property>
            <property name="height-request">200</property>
            <child><object class="GtkTreeViewColumn" id="Printers:name"><property name="title">Name</property></object></child>
          </object>
        </child>
      </object>
    </child>
  </object>
</interface>
)";

constexpr DataBrowserPropertyID kName = FourCC("name");

// The program's side: names of rows, the container among them, what it heard.
struct Printers {
  std::map<DataBrowserItemID, std::string> names = {
      {1, "Cyan"}, {2, "Office"}, {3, "Black"}, {21, "Zeta"}, {22, "Alpha"}};
  std::vector<std::string> heard;
};
Printers* sPrinters = nullptr;

OSStatus ItemData(ControlRef, DataBrowserItemID item, DataBrowserPropertyID property,
                  DataBrowserItemDataRef data, Boolean setValue) {
  if (setValue) return errDataBrowserPropertyNotFound;
  if (property == kDataBrowserItemIsContainerProperty)
    return SetDataBrowserItemDataBooleanValue(data, item == 2);
  if (property != kName) return errDataBrowserPropertyNotFound;
  CFRef<CFStringRef> text(CFStringCreateWithCString(nullptr, sPrinters->names[item].c_str(),
                                                    kCFStringEncodingUTF8));
  return SetDataBrowserItemDataText(data, text.get());
}

Boolean Compare(ControlRef, DataBrowserItemID one, DataBrowserItemID two,
                DataBrowserPropertyID property) {
  return property == kName && sPrinters->names[one] < sPrinters->names[two];
}

void Notification(ControlRef list, DataBrowserItemID item, DataBrowserItemNotification message) {
  sPrinters->heard.push_back(std::to_string(item) + ":" + std::to_string(message));
  if (message == kDataBrowserContainerOpened) {
    const DataBrowserItemID inside[] = {21, 22};
    AddDataBrowserItems(list, item, 2, inside, kName);
  }
}

class ListViewTest : public ToolkitFixture {
 protected:
  ListViewTest() { sPrinters = &mPrinters; }
  ~ListViewTest() override { sPrinters = nullptr; }

  ControlRef OpenList() {
    IBNibRef nib = nullptr;
    EXPECT_EQ(OpenNib(kListFile, &nib), noErr);
    EXPECT_EQ(CreateWindowFromNib(nib, CFSTR("Printers"), &mWindow), noErr);
    DisposeNibReference(nib);
    ShowWindow(mWindow);
    ControlID id = {FourCC("list"), 1};
    ControlRef list = nullptr;
    EXPECT_EQ(GetControlByID(mWindow, &id, &list), noErr);
    DataBrowserCallbacks callbacks;
    callbacks.version = kDataBrowserLatestCallbacks;
    EXPECT_EQ(InitDataBrowserCallbacks(&callbacks), noErr);
    callbacks.u.v1.itemDataCallback = NewDataBrowserItemDataUPP(ItemData);
    callbacks.u.v1.itemCompareCallback = NewDataBrowserItemCompareUPP(Compare);
    callbacks.u.v1.itemNotificationCallback = NewDataBrowserItemNotificationUPP(Notification);
    EXPECT_EQ(SetDataBrowserCallbacks(list, &callbacks), noErr);
    return list;
  }

  static std::vector<DataBrowserItemID> Displayed(ControlRef list) {
    Handle items = NewHandle(0);
    EXPECT_EQ(GetDataBrowserItems(list, kDataBrowserNoItem, true, kDataBrowserItemAnyState, items),
              noErr);
    auto* ids = reinterpret_cast<DataBrowserItemID*>(*items);
    std::vector<DataBrowserItemID> rows(ids, ids + GetHandleSize(items) / sizeof(DataBrowserItemID));
    DisposeHandle(items);
    return rows;
  }

  Printers mPrinters;
  WindowRef mWindow = nullptr;
};

TEST_F(ListViewTest, RowsFollowTheCompareCallbackAndOpenContainers) {
  ControlRef list = OpenList();
  const DataBrowserItemID top[] = {1, 2, 3};
  ASSERT_EQ(AddDataBrowserItems(list, kDataBrowserNoItem, 3, top, kName), noErr);
  EXPECT_EQ(AddDataBrowserItems(list, kDataBrowserNoItem, 1, top, kName), paramErr);  // already there
  EXPECT_EQ(Displayed(list), (std::vector<DataBrowserItemID>{1, 2, 3}));  // as added

  ASSERT_TRUE(mDriver.SortRows(list, kName, true));
  EXPECT_EQ(Displayed(list), (std::vector<DataBrowserItemID>{3, 1, 2}));  // Black Cyan Office
  ASSERT_TRUE(mDriver.SortRows(list, kName, false));
  EXPECT_EQ(Displayed(list), (std::vector<DataBrowserItemID>{2, 1, 3}));

  EXPECT_FALSE(mDriver.OpenRow(list, 1));  // no container
  mPrinters.heard.clear();
  ASSERT_TRUE(mDriver.OpenRow(list, 2));
  EXPECT_EQ(mPrinters.heard, (std::vector<std::string>{"2:8", "21:1", "22:1"}));
  EXPECT_EQ(Displayed(list), (std::vector<DataBrowserItemID>{2, 21, 22, 1, 3}));
  ItemCount count = 0;
  ASSERT_EQ(GetDataBrowserItemCount(list, kDataBrowserNoItem, false, kDataBrowserItemAnyState, &count),
            noErr);
  EXPECT_EQ(count, 3u);
  ASSERT_EQ(GetDataBrowserItemCount(list, 2, false, kDataBrowserItemAnyState, &count), noErr);
  EXPECT_EQ(count, 2u);

  ASSERT_TRUE(mDriver.SortRows(list, kName, true));
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
  ASSERT_EQ(RemoveDataBrowserItems(list, kDataBrowserNoItem, 0, nullptr, kName), noErr);
  EXPECT_TRUE(Displayed(list).empty());
}

TEST_F(ListViewTest, SelectionsAndTheirNotifications) {
  ControlRef list = OpenList();
  const DataBrowserItemID top[] = {1, 2, 3};
  ASSERT_EQ(AddDataBrowserItems(list, kDataBrowserNoItem, 3, top, kName), noErr);
  mPrinters.heard.clear();
  ASSERT_TRUE(mDriver.SelectRow(list, 3));
  ASSERT_TRUE(mDriver.SelectRow(list, 1));
  EXPECT_EQ(mPrinters.heard,
            (std::vector<std::string>{"3:5", "0:14", "1:5", "3:6", "0:14"}));
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
  ASSERT_EQ(RemoveDataBrowserItems(list, kDataBrowserNoItem, 1, gone, kName), noErr);
  ASSERT_EQ(GetDataBrowserSelectionAnchor(list, &first, &last), noErr);
  EXPECT_EQ(first, kDataBrowserNoItem);
  EXPECT_EQ(RemoveDataBrowserItems(list, kDataBrowserNoItem, 1, gone, kName),
            errDataBrowserItemNotFound);

  EXPECT_FALSE(mDriver.SelectRow(list, 99));
  HideControl(list);
  EXPECT_FALSE(mDriver.SelectRow(list, 2));  // hidden lists take no clicks
}

}  // namespace
