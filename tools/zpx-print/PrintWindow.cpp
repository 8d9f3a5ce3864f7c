#include "PrintWindow.h"

#include <algorithm>

#include "cf/CFRef.h"
#include "cf/CFText.h"

namespace {

constexpr short kMargin = 20;
constexpr short kLineHeight = 16;
constexpr short kPaneTop = kMargin + kLineHeight + 12;
constexpr short kButtonWidth = 90;
constexpr short kButtonHeight = 20;
constexpr short kButtonGap = 12;
constexpr short kNameWidth = 500;
// Before the pane's size is known.
constexpr short kFirstWidth = 400;
constexpr short kFirstHeight = 300;
// Where a window manager, if any, does not place it.
constexpr short kWindowLeft = 60;
constexpr short kWindowTop = 40;

const EventTypeSpec kCommandEvents[] = {{kEventClassCommand, kEventCommandProcess}};

// A title of the text; "?" for one that is no UTF-8.
CFStringRef CreateTitle(const std::string& utf8) {
  CFStringRef text = CreateText(utf8);
  return text != nullptr ? text : CFStringCreateWithCString(nullptr, "?", kCFStringEncodingASCII);
}

ControlRef NewButton(WindowRef window, CFStringRef title, UInt32 command) {
  const Rect bounds = {0, 0, kButtonHeight, kButtonWidth};
  ControlRef button = nullptr;
  if (CreatePushButtonControl(window, &bounds, title, &button) != noErr) return nullptr;
  SetControlCommandID(button, command);
  return button;
}

// The lowest edge of what the container shows: the bottom of its lowest
// visible control that embeds nothing, or `bottom` when that is lower.
short ShownBottom(ControlRef container, short bottom) {
  UInt16 count = 0;
  if (CountSubControls(container, &count) != noErr) return bottom;
  for (UInt16 index = 1; index <= count; ++index) {
    ControlRef control = nullptr;
    if (GetIndexedSubControl(container, index, &control) != noErr || !IsControlVisible(control))
      continue;
    UInt16 inside = 0;
    Rect bounds = {0, 0, 0, 0};
    if (CountSubControls(control, &inside) == noErr && inside > 0)
      bottom = ShownBottom(control, bottom);
    else
      bottom = std::max(bottom, GetControlBounds(control, &bounds)->bottom);
  }
  return bottom;
}

}  // namespace

PrintWindow::PrintWindow(const std::string& printer) {
  const Rect bounds = {kWindowTop, kWindowLeft, kWindowTop + kFirstHeight,
                       kWindowLeft + kFirstWidth};
  ControlRef root = nullptr;
  if (CreateNewWindow(kDocumentWindowClass, kWindowNoAttributes, &bounds, &mWindow) != noErr ||
      CreateRootControl(mWindow, &root) != noErr) {
    if (mWindow != nullptr) DisposeWindow(mWindow);
    mWindow = nullptr;
    return;
  }
  SetWindowTitleWithCFString(mWindow, CFSTR("Print"));
  MakeControls(printer);
  InstallEventHandler(GetWindowEventTarget(mWindow), NewEventHandlerUPP(OnCommand),
                      std::size(kCommandEvents), kCommandEvents, this, &mHandler);
}

PrintWindow::~PrintWindow() {
  if (mHandler != nullptr) RemoveEventHandler(mHandler);
  if (mWindow != nullptr) DisposeWindow(mWindow);
}

void PrintWindow::MakeControls(const std::string& printer) {
  const Rect nameBounds = {kMargin, kMargin, kMargin + kLineHeight, kMargin + kNameWidth};
  CFRef<CFStringRef> name(CreateTitle("Printer: " + printer));
  ControlRef label = nullptr;
  CreateStaticTextControl(mWindow, &nameBounds, name.get(), nullptr, &label);
  const Rect paneBounds = {kPaneTop, kMargin, kPaneTop, kMargin};  // sized by the prologue
  if (CreateUserPaneControl(mWindow, &paneBounds, 0, &mPane) != noErr) mPane = nullptr;
  mCancel = NewButton(mWindow, CFSTR("Cancel"), kCancelCommand);
  mPrint = NewButton(mWindow, CFSTR("Print"), kPrintCommand);
  SetWindowCancelButton(mWindow, mCancel);
  SetWindowDefaultButton(mWindow, mPrint);
}

// The extension grows its pane to hold its controls where they first go; its
// small-screen layout moves the lower ones up afterwards. The pane ends where
// what it shows ends, and the buttons go below it.
void PrintWindow::FitToPane() {
  Rect pane = {0, 0, 0, 0};
  GetControlBounds(mPane, &pane);
  const short shownBottom = ShownBottom(mPane, pane.top);
  if (shownBottom > pane.top) {
    pane.bottom = shownBottom;
    SetControlBounds(mPane, &pane);
  }
  const short width = short(
      std::max<int>({pane.right, kMargin + kNameWidth, kMargin + 2 * kButtonWidth + kButtonGap}) +
      kMargin);
  const short buttonsTop = short(pane.bottom + kMargin);
  Rect printBounds = {buttonsTop, short(width - kMargin - kButtonWidth),
                      short(buttonsTop + kButtonHeight), short(width - kMargin)};
  Rect cancelBounds = printBounds;
  OffsetRect(&cancelBounds, short(-kButtonWidth - kButtonGap), 0);
  SetControlBounds(mPrint, &printBounds);
  SetControlBounds(mCancel, &cancelBounds);
  SizeWindow(mWindow, width, short(buttonsTop + kButtonHeight + kMargin), false);
}

bool PrintWindow::UserPrints() {
  if (mWindow == nullptr || mPane == nullptr) return false;
  FitToPane();
  ShowWindow(mWindow);
  SelectWindow(mWindow);
  mPrinting = false;
  RunApplicationEventLoop();
  return mPrinting;
}

OSStatus PrintWindow::OnCommand(EventHandlerCallRef, EventRef event, void* self) {
  HICommand command;
  if (GetEventParameter(event, kEventParamDirectObject, typeHICommand, nullptr, sizeof command,
                        nullptr, &command) != noErr ||
      (command.commandID != kPrintCommand && command.commandID != kCancelCommand))
    return eventNotHandledErr;
  static_cast<PrintWindow*>(self)->mPrinting = command.commandID == kPrintCommand;
  QuitApplicationEventLoop();
  return noErr;
}
