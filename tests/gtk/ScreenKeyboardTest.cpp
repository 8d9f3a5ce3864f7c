// The keyboard alone, with keys synthesized in-process: Tab's round, Space on
// a check box, pop-ups opened with Down whose disabled items stay out of
// reach, Return and Escape in an alert, closing a dialog's window, the
// arrows in a list, Right and Left on a group.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "PPDX/PPDObjects/PPDXControls.h"
#include "support/ParsedDocument.h"
#include "support/PluginBundle.h"
#include "support/PrintersList.h"
#include "support/RowsInterface.h"
#include "support/ScreenFixture.h"
#include "testing/InjectedHostResolver.h"
#include "testing/InjectedNetServices.h"
#include "ui/UI_CheckBoxControl.h"
#include "ui/UI_PopupControl.h"
#include "ui/UI_PrinterListDialog.h"
#include "ui/UI_ZPXAlert.h"

class ScreenKeyboardTest : public ScreenFixture {
 protected:
  ScreenKeyboardTest() : mBuilt(CreateBundleAt(ZPX_BUILT_BUNDLE)) {}

  // The rows window over the sample: media (2001) and duplex (2002) pop-ups,
  // collate (3001) and offset stacking (3002) check boxes.
  void OpenRows() {
    mDocument = ParseFile(ZPX_BUNDLE "/samples/ZPX-Sample.ppd");
    ASSERT_TRUE(mDocument && mDocument->IsValidPPD());
    mWindow = ShowWindowFromText(RowsInterface(), CFSTR("Rows"));
    ASSERT_NE(mWindow, nullptr);
    PPDXControls* controls = mDocument->GetControls();
    mMedia = std::make_unique<UI_PopupControl>(
        mWindow, 2001, controls->FindPopup("*ZPMediaType", true), true, mDocument.get(), false, 0);
    mDuplex = std::make_unique<UI_PopupControl>(
        mWindow, 2002, controls->FindPopup("*ZPDuplex", true), true, mDocument.get(), false, 0);
    mCollate = std::make_unique<UI_CheckBoxControl>(
        mWindow, 3001, controls->FindBoolean("*ZPCollate", true), true, mDocument.get(), 0);
    // Rows the program does not use are hidden, as the pane hides them.
    for (SInt32 number : {2003, 2004, 2005, 3002, 3003, 3004})
      HideControl(FindControl(mWindow, FourCC("Cntl"), number));
    for (SInt32 number : {2003, 2004}) HideControl(FindControl(mWindow, FourCC("Ttle"), number));
    mScreen->Settle();
  }
  ControlRef Row(SInt32 number) const { return FindControl(mWindow, FourCC("Cntl"), number); }

  // Down opens the focused pop-up; `downs` more move in its menu; Return picks.
  void PickWithKeys(int downs) {
    Key(GDK_KEY_Down);
    for (int i = 0; i < downs; ++i) Key(GDK_KEY_Down);
    Key(GDK_KEY_Return);
  }

  CFRef<CFBundleRef> mBuilt;
  std::unique_ptr<ZPXPPD> mDocument;
  WindowRef mWindow = nullptr;
  std::unique_ptr<UI_PopupControl> mMedia;
  std::unique_ptr<UI_PopupControl> mDuplex;
  std::unique_ptr<UI_CheckBoxControl> mCollate;
};

TEST_F(ScreenKeyboardTest, TabGoesRoundTheEnabledVisibleControlsInEmbeddingOrder) {
  OpenRows();
  Key(GDK_KEY_Tab);
  EXPECT_EQ(Focused(), Row(2001));
  Key(GDK_KEY_Tab);
  EXPECT_EQ(Focused(), Row(3001));  // embedding order, not top to bottom
  Key(GDK_KEY_Tab);
  EXPECT_EQ(Focused(), Row(2002));
  Key(GDK_KEY_Tab);
  EXPECT_EQ(Focused(), Row(2001));  // round again
  Key(GDK_KEY_ISO_Left_Tab, GDK_SHIFT_MASK);
  EXPECT_EQ(Focused(), Row(2002));

  DisableControl(Row(3001));
  mScreen->Settle();
  Key(GDK_KEY_ISO_Left_Tab, GDK_SHIFT_MASK);
  EXPECT_EQ(Focused(), Row(2001));  // the disabled check box is passed over

  // The row's title names its pop-up to assistive technologies.
  EXPECT_STREQ(atk_object_get_name(gtk_widget_get_accessible(WidgetOf(Row(2002)))), "Two-Sided: ");
}

TEST_F(ScreenKeyboardTest, SpaceTogglesACheckBoxAndDownOpensAPopup) {
  OpenRows();
  ASSERT_EQ(Value(*mDocument, "*ZPCollate"), "True");
  Key(GDK_KEY_Tab);
  Key(GDK_KEY_Tab);
  ASSERT_EQ(Focused(), Row(3001));
  Key(GDK_KEY_space);
  EXPECT_EQ(GetControl32BitValue(Row(3001)), 0);
  EXPECT_EQ(Value(*mDocument, "*ZPCollate"), "False");
  EXPECT_FALSE(gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(WidgetOf(Row(3001)))));

  // Media: from the current choice down to the fourth, Transparency.
  Key(GDK_KEY_ISO_Left_Tab, GDK_SHIFT_MASK);
  ASSERT_EQ(Focused(), Row(2001));
  SInt32 before = GetControl32BitValue(Row(2001));
  ASSERT_LT(before, 4);
  PickWithKeys(4 - before);
  EXPECT_EQ(Value(*mDocument, "*ZPMediaType"), "Transparency");
  EXPECT_EQ(gtk_combo_box_get_active(GTK_COMBO_BOX(WidgetOf(Row(2001)))), 3);
}

TEST_F(ScreenKeyboardTest, ADisabledMenuItemStaysOutOfReach) {
  OpenRows();
  ASSERT_TRUE(mScreen->Actions().ChooseMenuItem(Row(2001), 4));  // Transparency: one-sided only
  ASSERT_EQ(Value(*mDocument, "*ZPDuplex"), "False");
  Key(GDK_KEY_Tab);
  Key(GDK_KEY_Tab);
  Key(GDK_KEY_Tab);
  ASSERT_EQ(Focused(), Row(2002));
  PickWithKeys(2);  // both two-sided items are disabled once the menu opens
  EXPECT_EQ(Value(*mDocument, "*ZPDuplex"), "False");
  EXPECT_EQ(GetControl32BitValue(Row(2002)), 1);
  GtkTreeModel* items = gtk_combo_box_get_model(GTK_COMBO_BOX(WidgetOf(Row(2002))));
  GtkTreeIter second;
  ASSERT_TRUE(gtk_tree_model_iter_nth_child(items, &second, nullptr, 1));
  gboolean enabled = TRUE;
  gtk_tree_model_get(items, &second, 1, &enabled, -1);
  EXPECT_FALSE(enabled);
}

TEST_F(ScreenKeyboardTest, ReturnEscapeAndClosingTheWindowEndAnAlert) {
  UI_ZPXAlert first(CFSTR("Replace the shortcut?"), CFSTR("It is kept otherwise."), 0x202, nullptr);
  first.show();
  mScreen->QueueModalStep([&] { Key(GDK_KEY_Return); });
  EXPECT_EQ(first.waitForUser(), UI_DialogWait::kOKCommand);

  UI_ZPXAlert second(CFSTR("Replace the shortcut?"), CFSTR("It is kept otherwise."), 0x202,
                     nullptr);
  second.show();
  mScreen->QueueModalStep([&] { Key(GDK_KEY_Escape); });
  EXPECT_EQ(second.waitForUser(), UI_DialogWait::kCancelCommand);

  // Closing the window is Cancel; while the alert waits, other windows take nothing.
  WindowRef document = NewWindow();
  UI_ZPXAlert third(CFSTR("Close?"), nullptr, 0x202, nullptr);
  third.show();
  mScreen->QueueModalStep([&] {
    EXPECT_FALSE(gtk_widget_is_sensitive(WindowWidget(document)));
    EXPECT_TRUE(gtk_widget_is_sensitive(WindowWidget(third.Window())));
    GdkEvent* close = gdk_event_new(GDK_DELETE);
    close->any.window =
        GDK_WINDOW(g_object_ref(gtk_widget_get_window(WindowWidget(third.Window()))));
    gtk_main_do_event(close);
    gdk_event_free(close);
  });
  EXPECT_EQ(third.waitForUser(), UI_DialogWait::kCancelCommand);
  mScreen->Settle();
  EXPECT_TRUE(gtk_widget_is_sensitive(WindowWidget(document)));
}

TEST_F(ScreenKeyboardTest, ArrowsMoveInTheListOfPrinters) {
  InjectedNetServices network;
  InjectedHostResolver hosts;
  network.Announce("Hall", {"10.0.0.10"});
  network.Announce("Lab", {"192.168.1.5"});
  UI_PrinterListDialog dialog(nullptr, "", false);
  ASSERT_TRUE(dialog.IsBuilt());
  ControlRef list = dialog.getControlByID(UI_PrinterListDialog::kPrinterList, 1);
  ControlRef edit = dialog.getControlByID(UI_PrinterListDialog::kAddressEdit, 1);
  mScreen->QueueModalStep([&] {
    for (int tabs = 0; tabs < 8 && Focused() != list; ++tabs) Key(GDK_KEY_Tab);
    ASSERT_EQ(Focused(), list);
    Key(GDK_KEY_Down);
    Key(GDK_KEY_Down);
    EXPECT_EQ(ListRowCount(list, kDataBrowserItemIsSelected), 1u);
    EXPECT_EQ(edit->mText, "192.168.1.5");  // the second row's printer
    Key(GDK_KEY_Up);
    EXPECT_EQ(edit->mText, "10.0.0.10");
    Key(GDK_KEY_Return);
  });
  char result[UI_PrinterListDialog::kFieldSize] = "";
  EXPECT_EQ(dialog.waitforResults(result, sizeof result), UI_DialogWait::kOKCommand);
  EXPECT_STREQ(result, "10.0.0.10");
}

TEST_F(ScreenKeyboardTest, RightOpensAGroupAndLeftClosesIt) {
  PrintersHeard heard;
  sPrintersHeard = &heard;
  WindowRef window = ShowWindowFromText(kPrintersListFile, CFSTR("Printers"));
  ControlRef list = SetUpPrintersList(window);
  const DataBrowserItemID top[] = {1, 2, 3};
  ASSERT_EQ(AddDataBrowserItems(list, kDataBrowserNoItem, 3, top, kPrinterName), noErr);
  mScreen->Settle();
  GtkTreeView* rows = GTK_TREE_VIEW(gtk_bin_get_child(GTK_BIN(WidgetOf(list))));
  Key(GDK_KEY_Tab);
  ASSERT_EQ(Focused(), list);
  Key(GDK_KEY_Down);
  Key(GDK_KEY_Down);  // Office, the group
  ASSERT_EQ(ListRowCount(list, kDataBrowserItemIsSelected), 1u);
  Key(GDK_KEY_Right);
  EXPECT_EQ(ListRowCount(list), 5u);  // the program filled it
  GtkTreePath* office = gtk_tree_path_new_from_string("1");
  EXPECT_TRUE(gtk_tree_view_row_expanded(rows, office));
  EXPECT_EQ(gtk_tree_model_iter_n_children(gtk_tree_view_get_model(rows), nullptr), 3);
  Key(GDK_KEY_Down);  // into the group: Zeta, as added
  EXPECT_EQ(SelectedRowText(list), "Zeta");
  Key(GDK_KEY_Up);
  Key(GDK_KEY_Left);
  EXPECT_EQ(ListRowCount(list), 3u);
  EXPECT_FALSE(gtk_tree_view_row_expanded(rows, office));
  gtk_tree_path_free(office);
  sPrintersHeard = nullptr;
}

TEST_F(ScreenKeyboardTest, TypedTextReachesTheAddressField) {
  InjectedNetServices network;
  InjectedHostResolver hosts;
  UI_PrinterListDialog dialog(nullptr, "", false);
  ASSERT_TRUE(dialog.IsBuilt());
  ControlRef edit = dialog.getControlByID(UI_PrinterListDialog::kAddressEdit, 1);
  mScreen->QueueModalStep([&] {
    ASSERT_EQ(Focused(), edit);  // where the dialog put the keyboard
    for (guint key : {GDK_KEY_1, GDK_KEY_0, GDK_KEY_period, GDK_KEY_2}) Key(key);
    EXPECT_EQ(edit->mText, "10.2");
    Key(GDK_KEY_BackSpace);
    Key(GDK_KEY_7);
    Key(GDK_KEY_Return);
  });
  char result[UI_PrinterListDialog::kFieldSize] = "";
  EXPECT_EQ(dialog.waitforResults(result, sizeof result), UI_DialogWait::kOKCommand);
  EXPECT_STREQ(result, "10.7");
}
