// zpx-print's print window on the display, with the bundle's extension in it
// and the keyboard alone: a pop-up changed, a shortcut added in Customize and
// its check box toggled, the disabled row passed over, then Print, which
// leaves the choices and the job's PostScript data in the tickets; Escape
// and closing the window cancel and leave no data; Customize opens centred
// on the print window and above it; on a small display (1024 x 768) the
// window ends just below what the pane shows.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "comm/PreferencesHome.h"
#include "paths/PlatformPaths.h"
#include "plugin/BundleFunctions.h"
#include "plugin/PDEIdentity.h"
#include "plugin/TextBuffer.h"
#include "print/PMTicket.h"
#include "support/ScreenFixture.h"
#include "support/TempFolder.h"
#include "ui/UI_Panel.h"
#include "zpx-print/ExtensionHost.h"
#include "zpx-print/PrintWindow.h"
#include "zpx-print/PrinterDescription.h"
#include "zpx-print/PrinterSession.h"

namespace {

constexpr int kMostTabs = 40;

class ScreenPrintWindowTest : public ScreenFixture {
 protected:
  ScreenPrintWindowTest() {
    PlatformPaths::Redirect(PlatformPaths::kBundleFolder, ZPX_BUILT_BUNDLE);
    PlatformPaths::Redirect(PlatformPaths::kCompanionProgram, "");
    PlatformPaths::Redirect(PlatformPaths::kTemporaryFolder, mFolder.Path());
    EXPECT_FALSE(mPPD.Copy(ZPX_BUNDLE "/samples/ZPX-Sample.ppd", mFolder.Path()).Failed());
    EXPECT_TRUE(mSession.SetPrinter("ZPX-Sample", mPPD));
    EXPECT_TRUE(mSession.SetJobItems(PrintArguments(), mPPD, nullptr));
  }
  ~ScreenPrintWindowTest() override {
    for (auto where : {PlatformPaths::kBundleFolder, PlatformPaths::kCompanionProgram,
                       PlatformPaths::kTemporaryFolder})
      PlatformPaths::Reset(where);
  }

  ControlRef Row(OSType signature, SInt32 number) const {
    return FindControl(mWindow.Window(), signature, number);
  }
  // Tab until `control` has the keyboard; every control passed on the way is
  // noted in mReached.
  bool TabTo(ControlRef control) {
    for (int tab = 0; tab < kMostTabs && Focused() != control; ++tab) {
      Key(GDK_KEY_Tab);
      mReached.insert(Focused());
    }
    return Focused() == control;
  }
  // The choice the extension left for the option in the print settings, "" for none.
  std::string Choice(const char* key) const {
    CFRef<CFStringRef> makeAndModel(
        CFStringCreateWithCString(nullptr, mPPD.MakeAndModel().c_str(), kCFStringEncodingUTF8));
    CFRef<CFStringRef> settingsKey(
        CreatePrinterSettingsKey(mHost.BundleIdentifier(), makeAndModel.get()));
    CFDictionaryRef values = nullptr;
    if (PMTicketGetCFDictionary(mSession.Ticket(kPDE_PMPrintSettingsRef), kPMTopLevel, kPMTopLevel,
                                settingsKey.get(), &values) != noErr)
      return "";
    CFRef<CFStringRef> name(CFStringCreateWithCString(nullptr, key, kCFStringEncodingUTF8));
    CFTypeRef value = CFDictionaryGetValue(values, name.get());
    return value != nullptr && CFGetTypeID(value) == CFStringGetTypeID()
               ? EncodedText(static_cast<CFStringRef>(value), kCFStringEncodingUTF8)
               : "";
  }
  // The file of the job's PostScript data the extension named, removed; "" for none.
  std::string TakeDataFile() const {
    CFRef<CFStringRef> prefix(
        CFStringCreateWithCString(nullptr, pde::kPostscriptDataKeyPrefix, kCFStringEncodingUTF8));
    CFRef<CFMutableStringRef> key(CFStringCreateMutableCopy(nullptr, 0, prefix.get()));
    CFStringAppend(key.get(), mHost.BundleIdentifier());
    CFStringRef path = nullptr;
    if (PMTicketGetCFString(mSession.Ticket(kPDE_PMPrintSettingsRef), kPMTopLevel, kPMTopLevel,
                            key.get(), &path) != noErr)
      return "";
    std::string file = EncodedText(path, kCFStringEncodingUTF8);
    unlink(file.c_str());
    return file;
  }

  // The middle of the window as the display shows it.
  GdkPoint CentreShown(WindowRef window) const {
    GtkWidget* shown = WindowWidget(window);
    GdkPoint origin = {0, 0};
    gdk_window_get_origin(gtk_widget_get_window(shown), &origin.x, &origin.y);
    return {origin.x + gtk_widget_get_allocated_width(shown) / 2,
            origin.y + gtk_widget_get_allocated_height(shown) / 2};
  }

  // The lowest edge, in the window, of the widgets shown above Print and
  // Cancel, and the top of those two.
  void MeasureBelowThePane(int* lowest, int* buttonsTop) const {
    *lowest = 0;
    *buttonsTop = INT_MAX;
    std::vector<ControlRef> controls = {mWindow.Window()->mRoot.get()};
    for (size_t next = 0; next < controls.size(); ++next) {
      ControlRef control = controls[next];
      controls.insert(controls.end(), control->mChildren.begin(), control->mChildren.end());
      GtkWidget* widget = next > 0 ? WidgetOf(control) : nullptr;
      if (!widget || !gtk_widget_get_visible(widget)) continue;
      GtkAllocation shown;
      gtk_widget_get_allocation(widget, &shown);
      UInt32 command = 0;
      GetControlCommandID(control, &command);
      if (command == PrintWindow::kPrintCommand || command == PrintWindow::kCancelCommand)
        *buttonsTop = std::min(*buttonsTop, shown.y);
      else
        *lowest = std::max(*lowest, shown.y + shown.height);
    }
  }

  PreferencesHome mHome;
  TempFolder mFolder;
  PrinterDescription mPPD;
  PrinterSession mSession;
  ExtensionHost mHost;
  PrintWindow mWindow{"ZPX-Sample"};
  std::set<ControlRef> mReached;
  std::string mCollateShown;  // the choice the check box shows at Print
};

TEST_F(ScreenPrintWindowTest, TheKeyboardAloneChangesAddsTogglesAndPrints) {
  ASSERT_TRUE(mHost.IsLoaded());
  const SInt32 pageSize = UI_Panel::kPopupRowBase, duplex = UI_Panel::kPopupRowBase + 2;
  const SInt32 added = UI_Panel::kCheckBoxRowBase + 4;
  mScreen->QueueModalStep([&] {
    ExpectShownAsReference(mWindow.Window(), "print-window");
    // Two-Sided, from One-Sided down to Long Edge.
    ASSERT_TRUE(TabTo(Row(FourCC("Cntl"), duplex)));
    Key(GDK_KEY_Down);
    Key(GDK_KEY_Down);
    Key(GDK_KEY_Return);
    EXPECT_EQ(GetControl32BitValue(Row(FourCC("Cntl"), duplex)), 2);
    // Customize: Collate from Layout Options becomes the fifth shortcut.
    ASSERT_TRUE(TabTo(Row(UI_Panel::kCustomizeSignature, UI_Panel::kCustomizeButton)));
    Key(GDK_KEY_space);
  });
  mScreen->QueueModalStep([&] {
    WindowRef customize = ToolkitModel::Shared().FrontWindow();
    ASSERT_NE(customize, mWindow.Window());
    ControlRef options = FindControl(customize, FourCC("SLST"), UI_Panel::kOptionList);
    ASSERT_NE(options, nullptr);
    Key(GDK_KEY_Tab);
    ASSERT_EQ(Focused(), options);
    for (int row = 0; row < kMostTabs && SelectedRowText(options) != "Layout Options"; ++row)
      Key(GDK_KEY_Down);
    Key(GDK_KEY_Right);
    for (int row = 0; row < kMostTabs && SelectedRowText(options) != "Collate"; ++row)
      Key(GDK_KEY_Down);
    ASSERT_EQ(SelectedRowText(options), "Collate");
    ControlRef add = FindControl(customize, FourCC("BUTN"), UI_Panel::kAddButton);
    for (int tab = 0; tab < kMostTabs && Focused() != add; ++tab) Key(GDK_KEY_Tab);
    Key(GDK_KEY_space);
    Key(GDK_KEY_Return);  // OK
  });
  mScreen->QueueModalStep([&] {
    EXPECT_EQ(ToolkitModel::Shared().FrontWindow(), mWindow.Window());
    ControlRef collate = Row(FourCC("Cntl"), added);
    ASSERT_NE(collate, nullptr);
    ASSERT_TRUE(IsControlVisible(collate));
    const SInt32 before = GetControl32BitValue(collate);
    ASSERT_TRUE(TabTo(collate));
    Key(GDK_KEY_space);
    EXPECT_EQ(GetControl32BitValue(collate), 1 - before);
    EXPECT_EQ(gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(WidgetOf(collate))), 1 - before);
    mCollateShown = before ? "False" : "True";
    // A whole round of Tab: the disabled Page Size row is never reached.
    mReached.clear();
    Key(GDK_KEY_Tab);
    mReached.insert(Focused());
    TabTo(collate);  // back round to where it started
    EXPECT_FALSE(IsControlEnabled(Row(FourCC("Cntl"), pageSize)));
    EXPECT_EQ(mReached.count(Row(FourCC("Cntl"), pageSize)), 0u);
    EXPECT_EQ(mReached.count(Row(FourCC("Cntl"), duplex)), 1u);
    Key(GDK_KEY_Return);  // Print
  });
  PrintFailure failure = mHost.Run(mSession.Session(), mWindow);
  EXPECT_FALSE(failure.Failed()) << failure.mMessage;
  EXPECT_EQ(Choice("*ZPDuplex"), "Top");
  EXPECT_EQ(Choice("*ZPCollate"), mCollateShown);
  EXPECT_NE(TakeDataFile(), "");
}

TEST_F(ScreenPrintWindowTest, EscapeAndClosingTheWindowCancel) {
  mScreen->QueueModalStep([&] { Key(GDK_KEY_Escape); });
  PrintFailure failure = mHost.Run(mSession.Session(), mWindow);
  EXPECT_EQ(failure.mExit, kExitNoJob);
  EXPECT_EQ(TakeDataFile(), "");

  PrintWindow second("ZPX-Sample");
  mScreen->QueueModalStep([&] {
    GdkEvent* event = gdk_event_new(GDK_DELETE);
    event->any.window =
        GDK_WINDOW(g_object_ref(gtk_widget_get_window(WindowWidget(second.Window()))));
    gtk_main_do_event(event);
    gdk_event_free(event);
  });
  EXPECT_EQ(mHost.Run(mSession.Session(), second).mExit, kExitNoJob);
  EXPECT_EQ(TakeDataFile(), "");
}

TEST_F(ScreenPrintWindowTest, CustomizeOpensCentredOnThePrintWindowAndAboveIt) {
  mScreen->QueueModalStep([&] {
    gtk_button_clicked(
        GTK_BUTTON(WidgetOf(Row(UI_Panel::kCustomizeSignature, UI_Panel::kCustomizeButton))));
  });
  mScreen->QueueModalStep([&] {
    WindowRef customize = ToolkitModel::Shared().FrontWindow();
    ASSERT_NE(customize, mWindow.Window());
    EXPECT_EQ(gtk_window_get_transient_for(GTK_WINDOW(WindowWidget(customize))),
              GTK_WINDOW(WindowWidget(mWindow.Window())));
    const GdkPoint centre = CentreShown(customize), printCentre = CentreShown(mWindow.Window());
    EXPECT_NEAR(centre.x, printCentre.x, 1);
    EXPECT_NEAR(centre.y, printCentre.y, 1);
    Key(GDK_KEY_Escape);  // Customize's Cancel
  });
  mScreen->QueueModalStep([&] {
    EXPECT_EQ(ToolkitModel::Shared().FrontWindow(), mWindow.Window());
    Key(GDK_KEY_Escape);
  });
  EXPECT_EQ(mHost.Run(mSession.Session(), mWindow).mExit, kExitNoJob);
}

// Run on a 1024 x 768 display only (its own CTest entry).
using ScreenSmallScreenPrintWindowTest = ScreenPrintWindowTest;

// The pane's small-screen layout moves its lower part up once the pane has
// grown to hold it: the window fits what the pane shows, not the pane's size.
TEST_F(ScreenSmallScreenPrintWindowTest, NoBlankBandBetweenThePaneAndTheButtons) {
  ASSERT_EQ(CGDisplayBounds(CGMainDisplayID()).size.height, 768);
  mScreen->QueueModalStep([&] {
    ExpectShownAsReference(mWindow.Window(), "print-window-small-screen");  // four rows
    int lowest = 0, buttonsTop = 0;
    MeasureBelowThePane(&lowest, &buttonsTop);
    // The window's margin of 20 pixels and a few more at most.
    EXPECT_GE(buttonsTop - lowest, 0);
    EXPECT_LE(buttonsTop - lowest, 24);
    Key(GDK_KEY_Escape);
  });
  EXPECT_EQ(mHost.Run(mSession.Session(), mWindow).mExit, kExitNoJob);
}

}  // namespace
