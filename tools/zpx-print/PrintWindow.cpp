#include "PrintWindow.h"

#include <algorithm>

#include "cf/CFRef.h"

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

CFStringRef CreateText(const std::string& utf8) {
  CFStringRef text = CFStringCreateWithCString(nullptr, utf8.c_str(), kCFStringEncodingUTF8);
  return text != nullptr ? text : CFStringCreateWithCString(nullptr, "?", kCFStringEncodingASCII);
}

ControlRef NewButton(WindowRef window, CFStringRef title, UInt32 command) {
  const Rect bounds = {0, 0, kButtonHeight, kButtonWidth};
  ControlRef button = nullptr;
  if (CreatePushButtonControl(window, &bounds, title, &button) != noErr) return nullptr;
  SetControlCommandID(button, command);
  return button;
}

}  // namespace

PrintWindow::PrintWindow(const std::string& printer) {
  const Rect bounds = {kWindowTop, kWindowLeft, kWindowTop + kFirstHeight, kWindowLeft + kFirstWidth};
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
  CFRef<CFStringRef> name(CreateText("Printer: " + printer));
  ControlRef label = nullptr;
  CreateStaticTextControl(mWindow, &nameBounds, name.get(), nullptr, &label);
  const Rect paneBounds = {kPaneTop, kMargin, kPaneTop, kMargin};  // sized by the prologue
  if (CreateUserPaneControl(mWindow, &paneBounds, 0, &mPane) != noErr) mPane = nullptr;
  mCancel = NewButton(mWindow, CFSTR("Cancel"), kCancelCommand);
  mPrint = NewButton(mWindow, CFSTR("Print"), kPrintCommand);
  SetWindowCancelButton(mWindow, mCancel);
  SetWindowDefaultButton(mWindow, mPrint);
}

// The extension grows its pane to what it holds; the buttons go below it.
void PrintWindow::FitToPane() {
  Rect pane = {0, 0, 0, 0};
  GetControlBounds(mPane, &pane);
  const short width =
      short(std::max<int>({pane.right, kMargin + kNameWidth, kMargin + 2 * kButtonWidth + kButtonGap}) +
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
