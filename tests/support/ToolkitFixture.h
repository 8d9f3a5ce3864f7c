#pragma once
// A fresh toolkit for each test: a headless driver whose complaints fail the
// test, and no window left behind.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cf/CFRef.h"
#include "support/FileURL.h"
#include "support/TempFolder.h"
#include "testing/HeadlessDriver.h"
#include "toolkit/Controls.h"
#include "toolkit/DataBrowser.h"
#include "toolkit/IBCarbonRuntime.h"
#include "toolkit/MacWindows.h"
#include "toolkit/Menus.h"
#include "toolkit/ToolkitModel.h"

// The window's control with that ID, or null.
inline ControlRef FindControl(WindowRef window, OSType signature, SInt32 number) {
  const ControlID id = {signature, number};
  ControlRef control = nullptr;
  GetControlByID(window, &id, &control);
  return control;
}

inline Rect BoundsOf(ControlRef control) {
  Rect bounds = {0, 0, 0, 0};
  GetControlBounds(control, &bounds);
  return bounds;
}

// How many rows of the list, at any depth, are in `state` (any state: all).
inline ItemCount ListRowCount(ControlRef list,
                              DataBrowserItemState state = kDataBrowserItemAnyState) {
  ItemCount count = 0;
  GetDataBrowserItemCount(list, kDataBrowserNoItem, true, state, &count);
  return count;
}

class ToolkitFixture : public ::testing::Test {
 protected:
  ToolkitFixture() : mDriver([](const std::string& what) { ADD_FAILURE() << what; }) {}
  ~ToolkitFixture() override {
    std::vector<WindowRef> left = ToolkitModel::Shared().Windows();
    for (WindowRef window : left) DisposeWindow(window);
  }

  // A shown document window with a root control.
  static WindowRef NewWindow(short width = 400, short height = 300) {
    Rect bounds = {100, 100, short(100 + height), short(100 + width)};
    WindowRef window = nullptr;
    EXPECT_EQ(CreateNewWindow(kDocumentWindowClass, kWindowNoAttributes, &bounds, &window), noErr);
    EXPECT_EQ(CreateRootControl(window, nullptr), noErr);
    ShowWindow(window);
    return window;
  }

  static ControlRef NewButton(WindowRef window, Rect bounds, const char* title, UInt32 command,
                              ControlID id) {
    CFRef<CFStringRef> text(CFStringCreateWithCString(nullptr, title, kCFStringEncodingUTF8));
    ControlRef button = nullptr;
    EXPECT_EQ(CreatePushButtonControl(window, &bounds, text.get(), &button), noErr);
    SetControlCommandID(button, command);
    SetControlID(button, &id);
    return button;
  }

  static ControlRef NewPane(WindowRef window, Rect bounds) {
    ControlRef pane = nullptr;
    EXPECT_EQ(CreateUserPaneControl(window, &bounds, 0, &pane), noErr);
    return pane;
  }

  // A pop-up whose menu holds the items, their number its maximum.
  static ControlRef NewPopup(WindowRef window, Rect bounds, std::vector<CFStringRef> items) {
    ControlRef popup = nullptr;
    EXPECT_EQ(CreatePopupButtonControl(window, &bounds, nullptr, 0, false, 0, 0, 0, &popup), noErr);
    for (CFStringRef item : items)
      AppendMenuItemTextWithCFString(GetControlPopupMenuHandle(popup), item, 0, 0, nullptr);
    SetControl32BitMaximum(popup, SInt32(items.size()));
    return popup;
  }

  static ControlRef NewCheckBox(WindowRef window, Rect bounds) {
    ControlRef box = nullptr;
    EXPECT_EQ(CreateCheckBoxControl(window, &bounds, CFSTR("Box"), 0, true, &box), noErr);
    return box;
  }

  // A bundle whose Resources/Test.ui holds `text`, and the reference to that file.
  OSStatus OpenNib(const std::string& text, IBNibRef* nib) {
    mFolder.Write("T.plugin/Contents/Resources/Test.ui", text);
    std::string path = mFolder.Path() + "/T.plugin";
    mBundle.reset(CreateBundleAt(path));
    return CreateNibReferenceWithCFBundle(mBundle.get(), CFSTR("Test"), nib);
  }
  // The window `name` of the interface `text`, shown.
  WindowRef ShowWindowFromText(const std::string& text, CFStringRef name) {
    IBNibRef nib = nullptr;
    WindowRef window = nullptr;
    EXPECT_EQ(noErr, OpenNib(text, &nib));
    EXPECT_EQ(noErr, CreateWindowFromNib(nib, name, &window));
    DisposeNibReference(nib);
    if (window) ShowWindow(window);
    return window;
  }
  std::string NibPath() const { return mFolder.Path() + "/T.plugin/Contents/Resources/Test.ui"; }

  HeadlessDriver mDriver;
  TempFolder mFolder;
  CFRef<CFBundleRef> mBundle;
};

// A handler that writes "<name>:<event>" into a shared list and answers `answer`;
// the event is "cmd <command>" for commands, else the kind.
struct EventLog {
  std::vector<std::string>* sink;
  std::string name;
  OSStatus answer = eventNotHandledErr;
};

inline OSStatus LogEvent(EventHandlerCallRef, EventRef event, void* userData) {
  auto* log = static_cast<EventLog*>(userData);
  std::string what = std::to_string(GetEventKind(event));
  HICommand command;
  if (GetEventClass(event) == kEventClassCommand &&
      GetEventParameter(event, kEventParamDirectObject, typeHICommand, nullptr, sizeof command,
                        nullptr, &command) == noErr)
    what = "cmd " + std::to_string(command.commandID);
  log->sink->push_back(log->name + ":" + what);
  return log->answer;
}

inline EventHandlerRef Listen(EventTargetRef target, EventLog* log,
                              std::vector<EventTypeSpec> types) {
  EventHandlerRef handler = nullptr;
  EXPECT_EQ(InstallEventHandler(target, NewEventHandlerUPP(LogEvent), types.size(), types.data(),
                                log, &handler),
            noErr);
  return handler;
}
