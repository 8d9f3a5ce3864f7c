// The printer-address area of the pane, driven through the headless toolkit
// with the bundle's interface files, a print session whose printer has a
// device URI, a hand-driven service browser, a host table and a temporary
// home folder for the preferences store.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "comm/PreferencesHome.h"
#include "support/PlatformString.h"
#include "support/PluginBundle.h"
#include "support/ToolkitFixture.h"
#include "support/WidgetText.h"
#include "testing/InjectedHostResolver.h"
#include "testing/InjectedNetServices.h"
#include "ui/UI_IPAddressPanel.h"
#include "ui/UI_PrinterListDialog.h"

namespace {

OSStatus ToPanel(EventHandlerCallRef, EventRef event, void* panel) {
  return static_cast<UI_IPAddressPanel*>(panel)->HandleIPAddressPanelEvent(event);
}

std::string Heard(UInt32 command) { return "pane:cmd " + std::to_string(command); }

const std::string kSwitchChanged = Heard(FourCC("IPcb"));
const std::string kAddressChanged = Heard(FourCC("IPcm"));

}  // namespace

class IPAddressPanelTest : public ToolkitFixture {
 protected:
  IPAddressPanelTest() : mBundle(CreateBundleAt(ZPX_BUILT_BUNDLE)) {
    PMCreateSession(&mSession);
    mWindow = NewWindow(500, 300);
    GetRootControl(mWindow, &mRoot);
    Listen(GetWindowEventTarget(mWindow), &mLog, {{kEventClassCommand, kEventCommandProcess}});
  }
  ~IPAddressPanelTest() override { PMRelease(mSession); }

  void UsePrinter(const char* deviceURI) {
    CFRef<CFStringRef> text(
        deviceURI != nullptr ? CFStringCreateWithCString(nullptr, deviceURI, kCFStringEncodingUTF8)
                             : nullptr);
    CFRef<CFURLRef> uri(text ? CFURLCreateWithString(nullptr, text.get(), nullptr) : nullptr);
    PMPrinter printer = nullptr;
    ASSERT_EQ(PMPrinterCreate(CFSTR("Queue 7"), CFSTR("ZPX 9000"), nullptr, uri.get(), &printer),
              noErr);
    ASSERT_EQ(PMSessionSetCurrentPMPrinter(mSession, printer), noErr);
    PMRelease(printer);
  }

  // An area of the window whose clicks reach it as the pane passes them on.
  std::unique_ptr<UI_IPAddressPanel> NewPanel(bool twoWayOn = true) {
    auto panel = std::make_unique<UI_IPAddressPanel>(mWindow, mRoot, Rect{10, 10, 110, 410},
                                                     mSession, twoWayOn, true, true);
    InstallEventHandler(GetWindowEventTarget(mWindow), NewEventHandlerUPP(ToPanel), 1, &kClickEvent,
                        panel.get(), &mClickHandler);
    return panel;
  }
  void ForgetPanel() {
    if (mClickHandler != nullptr) RemoveEventHandler(mClickHandler);
    mClickHandler = nullptr;
  }

  ControlRef Control(OSType signature) const { return FindControl(mWindow, signature, 10); }

  std::vector<std::string> TakeHeard() {
    mDriver.RunUntilIdle();
    return std::exchange(mHeard, {});
  }

  static constexpr EventTypeSpec kClickEvent = {kEventClassControl, kEventControlClick};
  PreferencesHome mHome;
  InjectedNetServices mNetwork;
  InjectedHostResolver mHosts;
  CFRef<CFBundleRef> mBundle;
  PMPrintSession mSession = nullptr;
  WindowRef mWindow = nullptr;
  ControlRef mRoot = nullptr;
  std::vector<std::string> mHeard;
  EventLog mLog = {&mHeard, "pane", noErr};
  EventHandlerRef mClickHandler = nullptr;
};

TEST_F(IPAddressPanelTest, TheSwitchWithoutAnAddressAsksForOne) {
  UsePrinter(nullptr);
  auto panel = NewPanel();
  ASSERT_TRUE(panel->IsInitialized());
  EXPECT_FALSE(panel->IsTwoWayOn());  // asked for, but there is no address
  EXPECT_TRUE(IsControlVisible(panel->Container()));
  ControlRef box = Control(FourCC("bidi"));
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(WidgetTitle(box), "Two-way communication");
  EXPECT_EQ(GetControl32BitValue(box), 0);
  EXPECT_EQ(TextOf(panel->DeviceName()), "ZPX 9000");
  TakeHeard();

  // Cancel in the dialog turns the switch back off and reports only the switch.
  mDriver.QueueModalStep([this] { EXPECT_TRUE(mDriver.PressEscape()); });
  ASSERT_TRUE(mDriver.Click(box));
  EXPECT_EQ(GetControl32BitValue(box), 0);
  EXPECT_FALSE(panel->IsTwoWayOn());
  EXPECT_EQ(TakeHeard(), std::vector<std::string>{kSwitchChanged});
  char address[UI_PrinterListDialog::kFieldSize] = "kept";
  EXPECT_FALSE(panel->IPAddressHasChanged(address, sizeof address));
  EXPECT_STREQ(address, "kept");

  // OK with an address keeps it on and reports only the address.
  mDriver.QueueModalStep([this] {
    EXPECT_TRUE(mDriver.Type("192.168.0.10"));
    EXPECT_TRUE(mDriver.PressReturn());
  });
  ASSERT_TRUE(mDriver.Click(box));
  EXPECT_EQ(GetControl32BitValue(box), 1);
  EXPECT_TRUE(panel->IsTwoWayOn());
  EXPECT_EQ(TakeHeard(), std::vector<std::string>{kAddressChanged});
  EXPECT_NE(HeadlessDriver::Dump(mWindow).find("\"192.168.0.10\""), std::string::npos);
  EXPECT_TRUE(panel->IPAddressHasChanged(address, sizeof address));
  EXPECT_STREQ(address, "192.168.0.10");
  EXPECT_FALSE(panel->IPAddressHasChanged(address, sizeof address));
  EXPECT_EQ(mHosts.LookupCount(), 0);

  // With an address known, the switch turns off and on without a dialog.
  ASSERT_TRUE(mDriver.Click(box));
  EXPECT_FALSE(panel->IsTwoWayOn());
  ASSERT_TRUE(mDriver.Click(box));
  EXPECT_TRUE(panel->IsTwoWayOn());
  EXPECT_EQ(TakeHeard(), (std::vector<std::string>{kSwitchChanged, kSwitchChanged}));
  EXPECT_EQ(panel->ChangedState(), UInt32(UI_IPAddressPanel::kSwitchChanged));
  ForgetPanel();
}

TEST_F(IPAddressPanelTest, ConfigureOpensTheDialogOnlyOnAReleaseInside) {
  UsePrinter(nullptr);
  auto panel = NewPanel();
  ControlRef configure = Control(FourCC("conf"));
  ASSERT_NE(configure, nullptr);
  EXPECT_EQ(WidgetTitle(configure), "Configure…");
  TakeHeard();

  ASSERT_TRUE(mDriver.Press(configure));
  mDriver.Release(Point{400, 480});  // far from the button: no dialog, nothing heard
  EXPECT_TRUE(TakeHeard().empty());

  mNetwork.Announce("Hall", {"10.0.0.10", "10.0.0.9"});
  mDriver.QueueModalStep([this] {});  // the network list fills
  mDriver.QueueModalStep([this] {
    ControlRef list =
        FindControl(ToolkitModel::Shared().FrontWindow(), UI_PrinterListDialog::kPrinterList, 1);
    EXPECT_TRUE(mDriver.SelectRow(list, 2));
    EXPECT_TRUE(mDriver.PressReturn());
  });
  ASSERT_TRUE(mDriver.Click(configure));
  EXPECT_EQ(TakeHeard(), std::vector<std::string>{kAddressChanged});
  EXPECT_EQ(panel->Address(), "10.0.0.9");
  EXPECT_EQ(TextOf(panel->DeviceName()), "Hall");

  // Hidden, the area hears no clicks.
  panel->hide();
  EXPECT_FALSE(mDriver.Click(configure));
  ForgetPanel();
}

TEST_F(IPAddressPanelTest, StoredAddressesAndTheDeviceURIsHost) {
  UsePrinter("ipp://printer-7.local:631/ipp/print");
  {
    auto first = NewPanel();
    EXPECT_EQ(first->Address(), "printer-7.local");  // nothing stored yet
    first->SetMelvanePrinterAddress(nullptr, "", false);
    ForgetPanel();
  }
  auto second = NewPanel(false);
  EXPECT_EQ(second->Address(), "printer-7.local");  // an empty stored address falls back
  EXPECT_FALSE(second->IsTwoWayOn());
  ControlRef box = Control(FourCC("bidi"));
  EXPECT_EQ(GetControl32BitValue(box), 0);

  // What one area stores, the next reads; Update turns the switch on.
  {
    UI_IPAddressPanel other(mWindow, mRoot, Rect{120, 10, 220, 410}, mSession, false, false, true);
    other.SetMelvanePrinterAddress(nullptr, "10.1.2.3", true);
  }
  second->Update();
  EXPECT_EQ(second->Address(), "10.1.2.3");
  EXPECT_TRUE(second->IsTwoWayOn());
  EXPECT_EQ(GetControl32BitValue(box), 1);
  second->SetIPAddressEnabled(false);
  bool enabled = true;
  EXPECT_EQ(TextOf(second->GetMelvanePrinterAddress(CFSTR("Queue 7"), &enabled)), "10.1.2.3");
  EXPECT_FALSE(enabled);
  ForgetPanel();

  // An AppleTalk printer or a URI without a host has no address of its own.
  for (const char* uri : {"pap://printer-7/queue", "usb:/dev/usb/lp0"}) {
    PreferencesHome emptyHome;
    UsePrinter(uri);
    UI_IPAddressPanel area(mWindow, mRoot, Rect{120, 10, 220, 410}, mSession, true, true, true);
    EXPECT_EQ(area.GetPrinterAddress(), nullptr) << uri;
    EXPECT_EQ(area.Address(), "") << uri;
    EXPECT_FALSE(area.IsTwoWayOn()) << uri;
  }
}

TEST_F(IPAddressPanelTest, TooSmallAnAreaBuildsNothing) {
  UsePrinter(nullptr);
  for (Rect bounds : {Rect{10, 10, 110, 259}, Rect{10, 10, 59, 410}}) {
    UI_IPAddressPanel area(mWindow, mRoot, bounds, mSession, false, true, true);
    EXPECT_FALSE(area.IsInitialized());
    EXPECT_FALSE(IsControlVisible(area.Container()));
    EXPECT_EQ(Control(FourCC("bidi")), nullptr);
    EXPECT_EQ(Control(FourCC("conf")), nullptr);
  }
  UI_IPAddressPanel justEnough(mWindow, mRoot, Rect{10, 10, 60, 260}, mSession, false, true, true);
  EXPECT_TRUE(justEnough.IsInitialized());
  EXPECT_NE(Control(FourCC("conf")), nullptr);
}
