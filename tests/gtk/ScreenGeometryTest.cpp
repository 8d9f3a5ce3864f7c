// The alerts, the address dialog, the printer-address area and the widget
// rows in real windows: every widget at its control's bounds, each window
// looking like its reference picture, and the model's changes shown; a scroll
// bar and a pop-up between the user and the program.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "PPDX/PPDObjects/PPDXControls.h"
#include "comm/PreferencesHome.h"
#include "support/ParsedDocument.h"
#include "support/PluginBundle.h"
#include "support/RowsInterface.h"
#include "support/ScreenFixture.h"
#include "testing/InjectedHostResolver.h"
#include "testing/InjectedNetServices.h"
#include "ui/UI_CheckBoxControl.h"
#include "ui/UI_IPAddressPanel.h"
#include "ui/UI_PopupControl.h"
#include "ui/UI_PrinterListDialog.h"
#include "ui/UI_ZPXAlert.h"

class ScreenGeometryTest : public ScreenFixture {
 protected:
  ScreenGeometryTest() : mBuilt(CreateBundleAt(ZPX_BUILT_BUNDLE)) {}

  CFRef<CFBundleRef> mBuilt;
};

TEST_F(ScreenGeometryTest, EachAlertWindowAsItsModelHasIt) {
  UI_ZPXAlert twoLines(CFSTR("The job could not be sent."), CFSTR("Try again?"), 0x202, nullptr);
  ASSERT_TRUE(twoLines.IsBuilt());
  twoLines.show();
  ExpectShownAsReference(twoLines.Window(), "alert-two-lines");
  GtkWidget* line = WidgetOf(twoLines.getControlByID(UI_ZPXAlert::kLineSignature, 1));
  EXPECT_STREQ(gtk_label_get_text(GTK_LABEL(line)), "The job could not be sent.");
  twoLines.hide();
  mScreen->Settle();
  EXPECT_FALSE(gtk_widget_get_visible(WindowWidget(twoLines.Window())));

  UI_ZPXAlert okOnly(CFSTR("Done."), nullptr, 0x101, nullptr);
  okOnly.show();
  ExpectShownAsReference(okOnly.Window(), "alert-one-line");
  EXPECT_FALSE(
      gtk_widget_get_visible(WidgetOf(okOnly.getControlByID(UI_DialogWait::kCancelButton, 1))));
  okOnly.hide();

  UI_ZPXAlert yesNo(CFSTR("Replace the shortcut?"), nullptr, 0x4, nullptr);
  yesNo.show();
  ExpectShownAsReference(yesNo.Window(), "alert-yes-no");
  yesNo.hide();

  // Over a document window the alert is its sheet: at the top, centred.
  WindowRef document = NewWindow(600, 400);
  UI_ZPXAlert sheet(CFSTR("One"), CFSTR("Two"), 0x202, document);
  sheet.show();
  ExpectShownAsReference(sheet.Window(), "alert-sheet");
  gint parentX = 0, parentY = 0, sheetX = 0, sheetY = 0;
  gtk_window_get_position(GTK_WINDOW(WindowWidget(document)), &parentX, &parentY);
  gtk_window_get_position(GTK_WINDOW(WindowWidget(sheet.Window())), &sheetX, &sheetY);
  EXPECT_EQ(sheetY, parentY);
  int sheetWidth = sheet.Window()->mBounds.right - sheet.Window()->mBounds.left;
  EXPECT_EQ(sheetX, parentX + (600 - sheetWidth) / 2);
  EXPECT_EQ(gtk_window_get_transient_for(GTK_WINDOW(WindowWidget(sheet.Window()))),
            GTK_WINDOW(WindowWidget(document)));
}

TEST_F(ScreenGeometryTest, TheAddressDialogWithThePrintersFound) {
  InjectedNetServices network;
  InjectedHostResolver hosts;
  network.Announce("Hall", {"10.0.0.10", "10.0.0.9"});
  network.Announce("Lab", {"192.168.1.5"});
  UI_PrinterListDialog dialog(nullptr, "10.0.0.7", false);
  ASSERT_TRUE(dialog.IsBuilt());
  ControlRef list = dialog.getControlByID(UI_PrinterListDialog::kPrinterList, 1);
  mScreen->QueueModalStep([&] {
    ExpectShownAsReference(dialog.Window(), "address-dialog");
    GtkTreeView* rows = GTK_TREE_VIEW(gtk_bin_get_child(GTK_BIN(WidgetOf(list))));
    EXPECT_EQ(gtk_tree_model_iter_n_children(gtk_tree_view_get_model(rows), nullptr), 3);
    EXPECT_STREQ(gtk_tree_view_column_get_title(gtk_tree_view_get_column(rows, 1)), "Address");
    EXPECT_STREQ(gtk_entry_get_text(GTK_ENTRY(
                     WidgetOf(dialog.getControlByID(UI_PrinterListDialog::kAddressEdit, 1)))),
                 "10.0.0.7");
    EXPECT_FALSE(gtk_widget_get_visible(
        WidgetOf(dialog.getControlByID(UI_PrinterListDialog::kNoBrowserLabel, 1))));
    // A printer leaving the network leaves the list shown too.
    network.Withdraw("Hall");
  });
  mScreen->QueueModalStep([&] {
    GtkTreeView* rows = GTK_TREE_VIEW(gtk_bin_get_child(GTK_BIN(WidgetOf(list))));
    EXPECT_EQ(gtk_tree_model_iter_n_children(gtk_tree_view_get_model(rows), nullptr), 1);
    Key(GDK_KEY_Escape);
  });
  char result[UI_PrinterListDialog::kFieldSize] = "";
  EXPECT_EQ(dialog.waitforResults(result, sizeof result), UI_DialogWait::kCancelCommand);
}

TEST_F(ScreenGeometryTest, TheAddressDialogWithoutANetworkService) {
  InjectedNetServices network;
  network.Stop();
  UI_PrinterListDialog dialog(nullptr, "", false);
  ASSERT_TRUE(dialog.IsBuilt());
  mScreen->QueueModalStep([&] {
    ExpectShownAsReference(dialog.Window(), "address-dialog-no-service");
    GtkWidget* note = WidgetOf(dialog.getControlByID(UI_PrinterListDialog::kNoBrowserLabel, 1));
    EXPECT_TRUE(gtk_widget_get_visible(note));
    EXPECT_STREQ(gtk_label_get_text(GTK_LABEL(note)),
                 "No printers found: the network service browser is not running.");
    Key(GDK_KEY_Escape);
  });
  char result[UI_PrinterListDialog::kFieldSize] = "";
  EXPECT_EQ(dialog.waitforResults(result, sizeof result), UI_DialogWait::kCancelCommand);
}

TEST_F(ScreenGeometryTest, ThePrinterAddressArea) {
  PreferencesHome home;
  InjectedNetServices network;
  InjectedHostResolver hosts;
  PMPrintSession session = nullptr;
  PMCreateSession(&session);
  CFRef<CFURLRef> uri(CFURLCreateWithString(nullptr, CFSTR("lpd://10.1.2.3/queue"), nullptr));
  PMPrinter printer = nullptr;
  ASSERT_EQ(PMPrinterCreate(CFSTR("Queue 7"), CFSTR("ZPX 9000"), nullptr, uri.get(), &printer),
            noErr);
  ASSERT_EQ(PMSessionSetCurrentPMPrinter(session, printer), noErr);
  PMRelease(printer);
  WindowRef window = NewWindow(500, 300);
  ControlRef root = nullptr;
  GetRootControl(window, &root);
  {
    UI_IPAddressPanel panel(window, root, Rect{10, 10, 110, 410}, session, true, true, true);
    ExpectShownAsReference(window, "printer-address");
  }
  PMRelease(session);
}

TEST_F(ScreenGeometryTest, WidgetRowsWithTheirPictures) {
  std::unique_ptr<ZPXPPD> document = ParseFile(ZPX_BUNDLE "/samples/ZPX-Sample.ppd");
  ASSERT_TRUE(document && document->IsValidPPD());
  WindowRef window = ShowWindowFromText(RowsInterface(), CFSTR("Rows"));
  ASSERT_NE(window, nullptr);
  auto controls = document->GetControls();
  UI_PopupControl duplex(window, 2001, controls->FindPopup("*ZPDuplex", true), true, document.get(),
                         false, 2001);
  UI_PopupControl media(window, 2002, controls->FindPopup("*ZPMediaType", true), true,
                        document.get(), true, 0);
  UI_CheckBoxControl collate(window, 3001, controls->FindBoolean("*ZPCollate", true), true,
                             document.get(), 3001);
  ExpectShownAsReference(window, "widget-rows");
  ControlRef popup = FindControl(window, FourCC("Cntl"), 2001);
  EXPECT_EQ(gtk_combo_box_get_active(GTK_COMBO_BOX(WidgetOf(popup))),
            GetControl32BitValue(popup) - 1);
  EXPECT_FALSE(gtk_widget_is_sensitive(WidgetOf(FindControl(window, FourCC("Cntl"), 2002))));

  // A change in the model shows without anything from the user.
  SetControl32BitValue(popup, 3);
  HideControl(FindControl(window, FourCC("Cntl"), 3001));
  mScreen->Settle();
  EXPECT_EQ(gtk_combo_box_get_active(GTK_COMBO_BOX(WidgetOf(popup))), 2);
  EXPECT_FALSE(gtk_widget_get_visible(WidgetOf(FindControl(window, FourCC("Cntl"), 3001))));
}

TEST_F(ScreenGeometryTest, AScrollBarMovedByTheUserTellsTheProgram) {
  WindowRef window = ShowScrollBarWindow();
  ASSERT_NE(window, nullptr);
  ControlRef bar = FindControl(window, FourCC("sbar"), 1);
  std::vector<std::string> heard;
  EventLog log = {&heard, "bar"};
  Listen(GetControlEventTarget(bar), &log, {{kEventClassControl, kEventControlHit}});
  mScreen->Settle();
  EXPECT_EQ(Misplaced(window), "");
  GtkRange* shown = GTK_RANGE(WidgetOf(bar));
  EXPECT_EQ(gtk_range_get_value(shown), 3);
  gtk_range_set_value(shown, 12);  // as a drag of the thumb does
  EXPECT_EQ(GetControl32BitValue(bar), 12);
  EXPECT_EQ(heard, (std::vector<std::string>{"bar:" + std::to_string(kEventControlHit)}));
  SetControl32BitMaximum(bar, 8);  // the program shortens the range: the value follows
  mScreen->Settle();
  EXPECT_EQ(gtk_range_get_value(shown), 8);
}

// The menu heard of the click when it opened: the pick is the value and the hit.
TEST_F(ScreenGeometryTest, AnItemPickedInAPopupTellsTheProgramOnce) {
  WindowRef window = ShowWindowFromText(RowsInterface(), CFSTR("Rows"));
  ASSERT_NE(window, nullptr);
  ControlRef popup = FindControl(window, FourCC("Cntl"), 2001);
  MenuRef menu = GetControlPopupMenuHandle(popup);
  for (CFStringRef item : {CFSTR("One"), CFSTR("Two"), CFSTR("Three")})
    AppendMenuItemTextWithCFString(menu, item, 0, 0, nullptr);
  SetControl32BitMaximum(popup, 3);
  SetControl32BitValue(popup, 1);
  std::vector<std::string> heard;
  EventLog log = {&heard, "popup"};
  Listen(GetControlEventTarget(popup), &log,
         {{kEventClassControl, kEventControlClick}, {kEventClassControl, kEventControlHit}});
  mScreen->Settle();
  gtk_combo_box_set_active(GTK_COMBO_BOX(WidgetOf(popup)), 2);  // as a pick in the open menu does
  EXPECT_EQ(GetControl32BitValue(popup), 3);
  EXPECT_EQ(heard, (std::vector<std::string>{"popup:" + std::to_string(kEventControlHit)}));
}
