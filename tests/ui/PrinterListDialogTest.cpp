// The address dialog of two-way communication, driven through the headless
// toolkit with the bundle's "BidiUI" file, a hand-driven service browser and a
// host table: nothing leaves the machine.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "carbon/SysBeep.h"
#include "support/PluginBundle.h"
#include "support/ToolkitFixture.h"
#include "support/WidgetText.h"
#include "testing/InjectedHostResolver.h"
#include "testing/InjectedNetServices.h"
#include "toolkit/DataBrowser.h"
#include "ui/UI_PrinterListDialog.h"
#include "ui/UI_ZPXAlert.h"

namespace {

constexpr UInt32 kOK = UI_DialogWait::kOKCommand;
constexpr UInt32 kCancel = UI_DialogWait::kCancelCommand;

// A line of the alert in front, as the user reads it.
std::string FrontAlertLine(SInt32 number) {
  ControlRef line =
      FindControl(ToolkitModel::Shared().FrontWindow(), UI_ZPXAlert::kLineSignature, number);
  return line != nullptr ? WidgetTitle(line) : "";
}

}  // namespace

class PrinterListDialogTest : public ToolkitFixture {
 protected:
  PrinterListDialogTest() : mBuilt(CreateBundleAt(ZPX_BUILT_BUNDLE)) {}

  // Opens the dialog on `initial`, types `typed` into its address, presses
  // Return, and lets the alert (when one comes) end with `alertKey`, after
  // which Escape ends a dialog that stayed open.
  UInt32 Enter(const std::string& initial, const std::string& typed, bool alertOK,
               std::string* alertLine, char* result, size_t size) {
    UI_PrinterListDialog dialog(nullptr, initial.c_str(), false);
    EXPECT_TRUE(dialog.IsBuilt());
    mDriver.QueueModalStep([&] {
      EXPECT_TRUE(mDriver.Type(typed));
      EXPECT_TRUE(mDriver.PressReturn());
    });
    mDriver.QueueModalStep([&] {  // in the alert's loop, or in the dialog's when it ended
      *alertLine = FrontAlertLine(1);
      EXPECT_EQ(FrontAlertLine(2), "Press OK to continue.");
      EXPECT_TRUE(alertOK ? mDriver.PressReturn() : mDriver.PressEscape());
    });
    mDriver.QueueModalStep([&] {
      EXPECT_TRUE(IsWindowVisible(dialog.Window()));  // the alert's OK kept it open
      EXPECT_TRUE(mDriver.PressEscape());
    });
    return dialog.waitforResults(result, size);
  }

  InjectedNetServices mNetwork;
  InjectedHostResolver mHosts;
  CFRef<CFBundleRef> mBuilt;
};

TEST_F(PrinterListDialogTest, BuildsTheWindowWithItsTitlesAndField) {
  UI_PrinterListDialog dialog(nullptr, "192.168.0.10", false);
  ASSERT_TRUE(dialog.IsBuilt());
  dialog.show();
  ControlRef edit = dialog.getControlByID(UI_PrinterListDialog::kAddressEdit, 1);
  EXPECT_EQ(WidgetTitle(edit), "192.168.0.10");
  EXPECT_EQ(WidgetTitle(dialog.getControlByID(UI_PrinterListDialog::kAddressLabel, 1)),
            "Printer address:");
  EXPECT_EQ(WidgetTitle(dialog.getControlByID(UI_PrinterListDialog::kNameLabel, 1)),
            "Printer name:");
  EXPECT_EQ(WidgetFontSize(dialog.getControlByID(UI_PrinterListDialog::kHintLabel, 1)), 11);
  EXPECT_EQ(WidgetFontSize(dialog.getControlByID(UI_PrinterListDialog::kNoteLabel, 1)), 11);
  EXPECT_NE(WidgetFontSize(dialog.getControlByID(UI_PrinterListDialog::kHeadingLabel, 1)), 11);
  EXPECT_NE(HeadlessDriver::Dump(dialog.Window()).find("\"Two-Way Communication\""),
            std::string::npos);
  EXPECT_TRUE(mDriver.Type(":1"));  // the address has the keyboard focus
  EXPECT_EQ(WidgetTitle(edit), "192.168.0.10:1");
  EXPECT_TRUE(IsWindowVisible(dialog.Window()));

  // A field given too long for it starts empty instead of cut short.
  UI_PrinterListDialog tooLong(nullptr, std::string(256, '1').c_str(), true);
  char field[UI_PrinterListDialog::kFieldSize] = "untouched";
  EXPECT_TRUE(tooLong.getServerNameField(field, sizeof field));
  EXPECT_STREQ(field, "");
  EXPECT_TRUE(tooLong.setServerNameField(std::string(255, '1').c_str()));
  char small[8] = "small";
  EXPECT_FALSE(tooLong.getServerNameField(small, sizeof small));
  EXPECT_STREQ(small, "small");

  mBuilt.reset();
  UI_PrinterListDialog noBundle(nullptr, "", false);
  EXPECT_FALSE(noBundle.IsBuilt());
}

TEST_F(PrinterListDialogTest, OKAcceptsNamesAndDottedQuadsOnly) {
  mHosts.Add("printer-1", {"10.0.0.7"});
  std::string alert;
  char result[UI_PrinterListDialog::kFieldSize] = "";
  UI_PrinterListDialog named(nullptr, "", false);
  mDriver.QueueModalStep([&] {
    EXPECT_TRUE(mDriver.Type("printer-1"));
    EXPECT_TRUE(mDriver.PressReturn());
  });
  EXPECT_EQ(named.waitforResults(result, sizeof result), kOK);
  EXPECT_STREQ(result, "printer-1");

  UI_PrinterListDialog quad(nullptr, "192.168.0.10", false);
  mDriver.QueueModalStep([&] { EXPECT_TRUE(mDriver.PressReturn()); });
  EXPECT_EQ(quad.waitforResults(result, sizeof result), kOK);
  EXPECT_STREQ(result, "192.168.0.10");

  for (const std::string& bad : std::vector<std::string>{"a b", "a:b",
                                                         "dr\xC3\xA9"
                                                         "cker",
                                                         std::string(300, '1')}) {
    std::strcpy(result, "kept");
    EXPECT_EQ(Enter("", bad, true, &alert, result, sizeof result), kCancel) << bad;
    EXPECT_EQ(alert, "The address cannot be found on the network.") << bad;
    EXPECT_STREQ(result, "kept");
  }
}

TEST_F(PrinterListDialogTest, AnEmptyEntryBeepsAndTheAlertDecides) {
  std::string alert;
  char result[UI_PrinterListDialog::kFieldSize] = "kept";
  UInt32 beeps = SysBeepCount();
  EXPECT_EQ(Enter("", "", true, &alert, result, sizeof result), kCancel);
  EXPECT_EQ(alert, "No printer address has been entered.");
  EXPECT_EQ(SysBeepCount(), beeps + 1);

  // Cancel in the alert cancels the dialog at once.
  UI_PrinterListDialog dialog(nullptr, "a:b", false);
  mDriver.QueueModalStep([&] { EXPECT_TRUE(mDriver.PressReturn()); });
  mDriver.QueueModalStep([&] { EXPECT_TRUE(mDriver.PressEscape()); });
  EXPECT_EQ(dialog.waitforResults(result, sizeof result), kCancel);
  EXPECT_FALSE(IsWindowVisible(dialog.Window()));
  EXPECT_STREQ(result, "kept");

  UI_PrinterListDialog allowed(nullptr, "", true);
  mDriver.QueueModalStep([&] { EXPECT_TRUE(mDriver.PressReturn()); });
  EXPECT_EQ(allowed.waitforResults(result, sizeof result), kOK);
  EXPECT_STREQ(result, "");
  EXPECT_EQ(SysBeepCount(), beeps + 1);
}

TEST(PrinterListDialog, ValidAddressesHoldASCIILettersDigitsDashesAndDots) {
  EXPECT_TRUE(UI_PrinterListDialog::validateAddress(""));
  EXPECT_TRUE(UI_PrinterListDialog::validateAddress("Printer-1.local"));
  EXPECT_TRUE(UI_PrinterListDialog::validateAddress("192.168.0.10"));
  EXPECT_FALSE(UI_PrinterListDialog::validateAddress(nullptr));
  EXPECT_FALSE(UI_PrinterListDialog::validateAddress("fe80::1"));
  EXPECT_FALSE(UI_PrinterListDialog::validateAddress("a_b"));
  EXPECT_FALSE(UI_PrinterListDialog::validateAddress("\xE9"));  // a Latin-1 letter is no ASCII one
}

TEST_F(PrinterListDialogTest, PrintersOnTheNetworkFillTheListWhileTheDialogWaits) {
  mNetwork.Announce("Hall", {"10.0.0.10", "10.0.0.9"});
  UI_PrinterListDialog dialog(nullptr, "", false);
  ASSERT_TRUE(dialog.IsBuilt());
  ControlRef list = dialog.getControlByID(UI_PrinterListDialog::kPrinterList, 1);
  ControlRef edit = dialog.getControlByID(UI_PrinterListDialog::kAddressEdit, 1);
  mDriver.QueueModalStep([&] { mNetwork.Announce("Lab", {"192.168.1.5"}); });
  mDriver.QueueModalStep([&] {
    EXPECT_EQ(ListRowCount(list), 3u);
    EXPECT_TRUE(mDriver.SelectRow(list, 3));
    EXPECT_EQ(WidgetTitle(edit), "192.168.1.5");
    mNetwork.Withdraw("Hall");
  });
  mDriver.QueueModalStep([&] {
    EXPECT_EQ(ListRowCount(list), 1u);  // both rows of "Hall" went
    EXPECT_TRUE(mDriver.PressReturn());
  });
  char result[UI_PrinterListDialog::kFieldSize] = "";
  EXPECT_EQ(dialog.waitforResults(result, sizeof result), kOK);
  EXPECT_STREQ(result, "192.168.1.5");
  EXPECT_EQ(TextOf(dialog.GetDeviceName()), "Lab");

  // A typed name whose address a row shows reports that row's printer.
  mNetwork.Announce("Hall", {"10.0.0.10", "10.0.0.9"});
  mHosts.Add("printer-7", {"10.0.0.9"});
  UI_PrinterListDialog typed(nullptr, "printer-7", false);
  mDriver.QueueModalStep([&] { EXPECT_TRUE(mDriver.PressReturn()); });
  EXPECT_EQ(typed.waitforResults(result, sizeof result), kOK);
  EXPECT_STREQ(result, "printer-7");
  EXPECT_EQ(TextOf(typed.GetDeviceName()), "Hall");
  EXPECT_EQ(mHosts.LookupCount(), 1);
}

// Without a network service browser the list stays empty and the dialog says
// why in a line of its own, shown only then.
TEST_F(PrinterListDialogTest, WithoutANetworkServiceALineSaysWhyNoPrinterIsListed) {
  auto noteShown = [&](bool stopped) {
    if (stopped) mNetwork.Stop();
    UI_PrinterListDialog dialog(nullptr, "", true);
    EXPECT_TRUE(dialog.IsBuilt());
    ControlRef note = dialog.getControlByID(UI_PrinterListDialog::kNoBrowserLabel, 1);
    std::string shown;
    mDriver.QueueModalStep([&] {
      EXPECT_EQ(ListRowCount(dialog.getControlByID(UI_PrinterListDialog::kPrinterList, 1)),
                stopped ? 0u : 1u);
      if (IsControlVisible(note))
        shown = WidgetTitle(note) + " (" + std::to_string(WidgetFontSize(note)) + ")";
      EXPECT_TRUE(mDriver.PressEscape());
    });
    char result[UI_PrinterListDialog::kFieldSize] = "";
    EXPECT_EQ(dialog.waitforResults(result, sizeof result), kCancel);
    return shown;
  };
  mNetwork.Announce("Hall", {"10.0.0.10"});
  EXPECT_EQ(noteShown(false), "");
  EXPECT_EQ(noteShown(true), "No printers found: the network service browser is not running. (11)");
}
