// The network list over the address dialog's list and address edit (the
// bundle's "BidiUI" window), with a hand-driven service browser.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "comm/BonjourList.h"
#include "support/PlatformString.h"
#include "support/PluginBundle.h"
#include "support/ToolkitFixture.h"
#include "support/WidgetText.h"
#include "testing/InjectedNetServices.h"

namespace {

void DeliverWaitingEvents() { CFRunLoopRunInMode(kCFRunLoopDefaultMode, 0, false); }

// A row as the list shows it.
struct ShownRow {
  DataBrowserItemID id;
  std::string text;  // "name address"
};

// The list's rows in display order, read from the window as the user sees it.
std::vector<ShownRow> Shown(WindowRef window) {
  std::vector<ShownRow> rows;
  std::istringstream dump(HeadlessDriver::Dump(window));
  for (std::string line; std::getline(dump, line);) {
    size_t at = line.find("row ");
    if (at == std::string::npos || line.find_first_not_of(' ') != at) continue;
    ShownRow row = {DataBrowserItemID(std::stoul(line.substr(at + 4))), ""};
    for (size_t open = line.find('"'); open != std::string::npos;) {
      size_t close = line.find('"', open + 1);
      row.text += (row.text.empty() ? "" : " ") + line.substr(open + 1, close - open - 1);
      open = line.find('"', close + 1);
    }
    rows.push_back(row);
  }
  return rows;
}

std::vector<std::string> Texts(const std::vector<ShownRow>& rows) {
  std::vector<std::string> texts;
  for (const ShownRow& row : rows) texts.push_back(row.text);
  return texts;
}

}  // namespace

class BonjourListTest : public ToolkitFixture {
 protected:
  BonjourListTest() : mBundle(CreateBundleAt(ZPX_BUILT_BUNDLE)) {
    IBNibRef nib = nullptr;
    EXPECT_EQ(CreateNibReferenceWithCFBundle(mBundle.get(), CFSTR("BidiUI"), &nib), noErr);
    EXPECT_EQ(CreateWindowFromNib(nib, CFSTR("PrinterListDialog"), &mWindow), noErr);
    DisposeNibReference(nib);
    ShowWindow(mWindow);
    mEdit = Control(FourCC("paed"));
    mList = Control(FourCC("ppls"));
  }

  ControlRef Control(OSType signature) const { return FindControl(mWindow, signature, 1); }

  InjectedNetServices mNetwork;
  CFRef<CFBundleRef> mBundle;
  WindowRef mWindow = nullptr;
  ControlRef mEdit = nullptr;
  ControlRef mList = nullptr;
};

TEST_F(BonjourListTest, RowsFollowTheServicesOnTheNetwork) {
  mNetwork.Announce("Hall", {"10.0.0.10", "fe80::1", "10.0.0.9"});
  BonjourList* list = CreateBonjourList(mEdit, mList);
  BonjourList* found = nullptr;
  ASSERT_EQ(GetControlProperty(mList, FourCC("ZPX "), BonjourList::kListPropertyTag, sizeof found,
                               nullptr, &found),
            noErr);
  EXPECT_EQ(found, list);
  mNetwork.Announce("Lab", {"192.168.1.5", "192.168.1.6"});
  mNetwork.AnnounceUnresolvable("Ghost");
  mNetwork.Announce("Scanner", {"10.0.0.50"}, "_scanner._tcp.");
  EXPECT_TRUE(Shown(mWindow).empty());  // nothing arrives before the run loop runs
  DeliverWaitingEvents();
  std::vector<ShownRow> rows = Shown(mWindow);
  EXPECT_EQ(Texts(rows), (std::vector<std::string>{"Hall 10.0.0.10", "Hall 10.0.0.9",
                                                   "Lab 192.168.1.5", "Lab 192.168.1.6"}));
  ASSERT_EQ(rows.size(), 4u);
  DataBrowserItemID lab6 = rows[3].id;
  EXPECT_EQ(list->DataBrowserItemDataGet(lab6, FourCC("othr")), nullptr);

  // Both rows of "Hall" go; the others keep their identifiers.
  mNetwork.Withdraw("Hall");
  DeliverWaitingEvents();
  rows = Shown(mWindow);
  EXPECT_EQ(Texts(rows), (std::vector<std::string>{"Lab 192.168.1.5", "Lab 192.168.1.6"}));
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[1].id, lab6);
  EXPECT_EQ(list->DataBrowserItemDataGet(1, BonjourList::kNameColumn), nullptr);

  mNetwork.Announce("Hall", {"10.0.0.11"});
  DeliverWaitingEvents();
  rows = Shown(mWindow);
  EXPECT_EQ(rows.back().text, "Hall 10.0.0.11");
  EXPECT_EQ(rows.back().id, 5u);  // 1 and 2 are never handed out again
  DeleteBonjourList(list);
  // A list that is gone hears nothing more.
  mNetwork.Announce("Late", {"10.0.0.12"});
  DeliverWaitingEvents();
  EXPECT_EQ(Shown(mWindow).size(), 3u);
}

TEST_F(BonjourListTest, SortingAndChoosing) {
  mNetwork.Announce("beta", {"10.0.0.10"});
  mNetwork.Announce("Alpha", {"10.0.0.9", "127.0.0.1"});
  BonjourList list(mEdit, mList);
  DeliverWaitingEvents();
  ASSERT_EQ(Texts(Shown(mWindow)),
            (std::vector<std::string>{"beta 10.0.0.10", "Alpha 10.0.0.9", "Alpha 127.0.0.1"}));
  DataBrowserItemID beta = Shown(mWindow)[0].id;
  ASSERT_TRUE(mDriver.SortRows(mList, BonjourList::kNameColumn, true));
  EXPECT_EQ(Texts(Shown(mWindow)).front(), "Alpha 10.0.0.9");
  ASSERT_TRUE(mDriver.SortRows(mList, BonjourList::kAddressColumn, true));
  EXPECT_EQ(Texts(Shown(mWindow)),  // 9 before 10, as numbers
            (std::vector<std::string>{"Alpha 10.0.0.9", "beta 10.0.0.10", "Alpha 127.0.0.1"}));
  EXPECT_FALSE(list.DataBrowserItemCompare(beta, 99, BonjourList::kAddressColumn));

  EXPECT_EQ(list.GetPrinterName(), nullptr);
  list.DataBrowserItemChanged(beta, kDataBrowserItemDeselected);
  EXPECT_EQ(list.GetPrinterName(), nullptr);
  ASSERT_TRUE(mDriver.SelectRow(mList, beta));
  EXPECT_EQ(TextOf(list.GetPrinterName()), "beta");
  EXPECT_EQ(WidgetTitle(mEdit), "10.0.0.10");

  // A typed address picks the first row with it; an unknown one changes nothing.
  list.SetPrinterNameWithHostName("10.0.0.9");
  EXPECT_EQ(TextOf(list.GetPrinterName()), "Alpha");
  list.SetPrinterNameWithHostName("10.0.0.99");
  EXPECT_EQ(TextOf(list.GetPrinterName()), "Alpha");
  list.SetPrinterNameWithHostName(nullptr);
  EXPECT_EQ(TextOf(list.GetPrinterName()), "Alpha");

  // The chosen name outlives the rows it came from.
  mNetwork.Withdraw("Alpha");
  DeliverWaitingEvents();
  EXPECT_EQ(TextOf(list.GetPrinterName()), "Alpha");
  EXPECT_EQ(Shown(mWindow).size(), 1u);
}
