#include "ui/UI_DialogWait.h"

#include "cf/CFRef.h"
#include "plugin/BundleFunctions.h"
#include "plugin/PDEBundle.h"
#include "ui/ControlUtils.h"

namespace {

const EventTypeSpec kCommandEvents[] = {{kEventClassCommand, kEventCommandProcess}};

enum { kAccept = 1, kRefuse = -1 };

}  // namespace

UI_DialogWait::UI_DialogWait(WindowRef parent) : mParent(parent) {}

UI_DialogWait::~UI_DialogWait() { removeEventHandler(); }

int UI_DialogWait::validateInput() { return kAccept; }

void UI_DialogWait::enableOK(bool on) { EnableButton(kOKButton, on); }

void UI_DialogWait::enableCancel(bool on) { EnableButton(kCancelButton, on); }

void UI_DialogWait::EnableButton(OSType signature, bool on) {
  ControlRef button = getControlByID(signature, 1);
  if (button == nullptr) return;
  if (on)
    EnableControl(button);
  else
    DisableControl(button);
}

void UI_DialogWait::onCancel() { End(kCancelCommand); }

void UI_DialogWait::onOK() { End(kOKCommand); }

void UI_DialogWait::End(UInt32 command) {
  hide();
  mEndingCommand = command;
  QuitAppModalLoopForWindow(mWindow);
}

bool UI_DialogWait::IsSheet() const {
  WindowClass windowClass = 0;
  GetWindowClass(mWindow, &windowClass);
  return windowClass == kSheetWindowClass || windowClass == kSheetAlertWindowClass;
}

void UI_DialogWait::show() {
  if (IsSheet()) {
    ShowSheetWindow(mWindow, mParent);
    return;
  }
  SelectWindow(mWindow);
  ShowWindow(mWindow);
}

void UI_DialogWait::hide() {
  if (IsSheet())
    HideSheetWindow(mWindow);
  else
    HideWindow(mWindow);
}

OSStatus UI_DialogWait::installEventHandler(WindowRef window) {
  removeEventHandler();
  return InstallEventHandler(GetWindowEventTarget(window), NewEventHandlerUPP(waitDialogHandler), 1,
                             kCommandEvents, this, &mHandler);
}

void UI_DialogWait::removeEventHandler() {
  if (mHandler != nullptr) RemoveEventHandler(mHandler);
  mHandler = nullptr;
}

UInt32 UI_DialogWait::waitForUser() {
  RunAppModalLoopForWindow(mWindow);
  return mEndingCommand;
}

ControlRef UI_DialogWait::getControlByID(OSType signature, SInt32 number) const {
  const ControlID id = {signature, number};
  ControlRef control = nullptr;
  if (mWindow == nullptr || GetControlByID(mWindow, &id, &control) != noErr) return nullptr;
  return control;
}

OSStatus UI_DialogWait::setFontInfo(ControlRef control, SInt16 font, SInt16 size, SInt16 style) {
  return ControlUtils::setControlFontInfo(control, font, size, style, -1);
}

void UI_DialogWait::setStandardButtonTitles() { TitleButtons(CFSTR("OK"), CFSTR("Cancel")); }

void UI_DialogWait::TitleButtons(CFStringRef okKey, CFStringRef cancelKey) {
  const struct {
    OSType signature;
    CFStringRef key;
    bool anchorLeft;
  } buttons[] = {{kOKButton, okKey, true}, {kCancelButton, cancelKey, false}};
  for (const auto& button : buttons) {
    ControlRef control = getControlByID(button.signature, 1);
    CFRef<CFStringRef> title(
        PDEBundle::CopyLocalizedCFStringFromFile(button.key, CFSTR("Dialogs"), GetBundleRef()));
    if (control == nullptr || !title) continue;
    ControlUtils::SetControlTitle(control, title.get());
    ControlUtils::SizeControl(control, button.anchorLeft);
  }
}

OSStatus UI_DialogWait::waitDialogHandler(EventHandlerCallRef, EventRef event, void* self) {
  HICommand command;
  if (GetEventParameter(event, kEventParamDirectObject, typeHICommand, nullptr, sizeof command,
                        nullptr, &command) != noErr)
    return eventNotHandledErr;
  return static_cast<UI_DialogWait*>(self)->HandleCommand(command.commandID);
}

OSStatus UI_DialogWait::HandleCommand(UInt32 command) {
  if (command == kCancelCommand) {
    onCancel();
    return noErr;
  }
  if (command != kOKCommand) return eventNotHandledErr;
  switch (validateInput()) {
    case kAccept:
      onOK();
      break;
    case kRefuse:
      onCancel();
      break;
    default:
      break;  // the dialog stays open for the user to correct
  }
  return noErr;
}
