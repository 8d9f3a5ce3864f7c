#include "comm/BonjourList.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "net/InjectedNetServices.h"
#include "support/PlatformString.h"

namespace {

void DeliverWaitingEvents() { CFRunLoopRunInMode(kCFRunLoopDefaultMode, 0, false); }

// Each row as "name address", in row order.
std::vector<std::string> Rows(const BonjourList& list) {
  std::vector<std::string> rows;
  for (DataBrowserItemID row : list.GetRows())
    rows.push_back(TextOf(list.DataBrowserItemDataGet(row, BonjourList::kNameColumn)) + " " +
                   TextOf(list.DataBrowserItemDataGet(row, BonjourList::kAddressColumn)));
  return rows;
}

}  // namespace

TEST(BonjourList, RowsFollowTheServicesOnTheNetwork) {
  InjectedNetServices network;
  network.Announce("Hall", {"10.0.0.10", "fe80::1", "10.0.0.9"});
  BonjourList* list = CreateBonjourList(nullptr, nullptr);
  network.Announce("Lab", {"192.168.1.5", "192.168.1.6"});
  network.AnnounceUnresolvable("Ghost");
  network.Announce("Scanner", {"10.0.0.50"}, "_scanner._tcp.");
  EXPECT_TRUE(list->GetRows().empty());  // nothing arrives before the run loop runs
  DeliverWaitingEvents();
  EXPECT_EQ(Rows(*list), (std::vector<std::string>{"Hall 10.0.0.10", "Hall 10.0.0.9",
                                                   "Lab 192.168.1.5", "Lab 192.168.1.6"}));
  DataBrowserItemID lab6 = list->GetRows()[3];
  EXPECT_EQ(list->DataBrowserItemDataGet(lab6, FourCC("othr")), nullptr);

  // Both rows of "Hall" go; the others keep their identifiers.
  network.Withdraw("Hall");
  DeliverWaitingEvents();
  EXPECT_EQ(Rows(*list), (std::vector<std::string>{"Lab 192.168.1.5", "Lab 192.168.1.6"}));
  EXPECT_EQ(list->GetRows()[1], lab6);
  EXPECT_EQ(list->DataBrowserItemDataGet(1, BonjourList::kNameColumn), nullptr);

  network.Announce("Hall", {"10.0.0.11"});
  DeliverWaitingEvents();
  EXPECT_EQ(Rows(*list).back(), "Hall 10.0.0.11");
  EXPECT_EQ(list->GetRows().back(), 5u);  // 1 and 2 are never handed out again
  DeleteBonjourList(list);
  // A list that is gone hears nothing more.
  network.Announce("Late", {"10.0.0.12"});
  DeliverWaitingEvents();
}

TEST(BonjourList, SortingAndChoosing) {
  InjectedNetServices network;
  network.Announce("beta", {"10.0.0.10"});
  network.Announce("Alpha", {"10.0.0.9", "127.0.0.1"});
  BonjourList list(nullptr, nullptr);
  DeliverWaitingEvents();
  ASSERT_EQ(Rows(list), (std::vector<std::string>{"beta 10.0.0.10", "Alpha 10.0.0.9",
                                                  "Alpha 127.0.0.1"}));
  DataBrowserItemID beta = list.GetRows()[0], alpha = list.GetRows()[1];
  EXPECT_TRUE(list.DataBrowserItemCompare(alpha, beta, BonjourList::kNameColumn));
  EXPECT_FALSE(list.DataBrowserItemCompare(beta, alpha, BonjourList::kNameColumn));
  EXPECT_TRUE(list.DataBrowserItemCompare(alpha, beta, BonjourList::kAddressColumn));
  EXPECT_FALSE(list.DataBrowserItemCompare(beta, alpha, BonjourList::kAddressColumn));
  EXPECT_FALSE(list.DataBrowserItemCompare(alpha, 99, BonjourList::kAddressColumn));

  EXPECT_EQ(list.GetPrinterName(), nullptr);
  list.DataBrowserItemChanged(beta, BonjourList::kItemSelected + 1);
  EXPECT_EQ(list.GetPrinterName(), nullptr);
  list.DataBrowserItemChanged(beta, BonjourList::kItemSelected);
  EXPECT_EQ(TextOf(list.GetPrinterName()), "beta");
  EXPECT_EQ(TextOf(list.GetAddressFieldText()), "10.0.0.10");

  // A typed address picks the first row with it; an unknown one changes nothing.
  list.SetPrinterNameWithHostName("10.0.0.9");
  EXPECT_EQ(TextOf(list.GetPrinterName()), "Alpha");
  list.SetPrinterNameWithHostName("10.0.0.99");
  EXPECT_EQ(TextOf(list.GetPrinterName()), "Alpha");
  list.SetPrinterNameWithHostName(nullptr);
  EXPECT_EQ(TextOf(list.GetPrinterName()), "Alpha");

  // The chosen name outlives the rows it came from.
  network.Withdraw("Alpha");
  DeliverWaitingEvents();
  EXPECT_EQ(TextOf(list.GetPrinterName()), "Alpha");
}
