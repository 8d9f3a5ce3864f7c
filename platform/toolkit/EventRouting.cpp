#include "toolkit/EventRouting.h"

#include "cf/CFRef.h"
#include "toolkit/ToolkitEvent.h"
#include "toolkit/ToolkitModel.h"
#include "toolkit/ToolkitWindow.h"

namespace {

struct EventHolder {
  EventRef event = nullptr;
  EventHolder(UInt32 eventClass, UInt32 kind) {
    CreateEvent(kCFAllocatorDefault, eventClass, kind, GetCurrentEventTime(), 0, &event);
  }
  ~EventHolder() { ReleaseEvent(event); }
};

}  // namespace

OSStatus EventRouting::Send(EventRef event, EventTargetRef target) {
  ToolkitModel& model = ToolkitModel::Shared();
  if (ControlRef control = target->mControl) {
    OSStatus status = target->Dispatch(event);
    if (status != eventNotHandledErr || !model.IsLive(control)) return status;
    target = &control->mWindow->mTarget;
  }
  if (WindowRef window = target->mWindow) {
    OSStatus status = target->Dispatch(event);
    if (status != eventNotHandledErr || !model.IsLive(window)) return status;
  }
  OSStatus status = model.mApplication.Dispatch(event);
  return status != eventNotHandledErr ? status : Standard(event);
}

OSStatus EventRouting::SendControlEvent(ControlRef control, UInt32 kind, ControlPartCode part) {
  EventHolder held(kEventClassControl, kind);
  held.event->Set(kEventParamDirectObject, typeControlRef, sizeof control, &control);
  if (part != kControlNoPart)
    held.event->Set(kEventParamControlPart, typeControlPartCode, sizeof part, &part);
  return Send(held.event, &control->mTarget);
}

OSStatus EventRouting::SendWindowClose(WindowRef window) {
  EventHolder held(kEventClassWindow, kEventWindowClose);
  held.event->Set(kEventParamDirectObject, typeWindowRef, sizeof window, &window);
  return Send(held.event, &window->mTarget);
}

OSStatus EventRouting::Standard(EventRef event) {
  ControlRef control = nullptr;
  WindowRef window = nullptr;
  if (event->mClass == kEventClassControl &&
      event->Read(kEventParamDirectObject, typeControlRef, &control)) {
    switch (event->mKind) {
      case kEventControlClick: return TrackClick(control);
      case kEventControlHit: return SendCommand(control);
      case kEventControlDraw:
        if (!control->mDrawProc) break;
        control->mDrawProc(control, kControlEntireControl);
        return noErr;
    }
  }
  if (event->mClass == kEventClassWindow && event->mKind == kEventWindowClose &&
      event->Read(kEventParamDirectObject, typeWindowRef, &window))
    return CloseWindow(window);
  return eventNotHandledErr;
}

OSStatus EventRouting::TrackClick(ControlRef control) {
  ToolkitModel& model = ToolkitModel::Shared();
  HiliteControl(control, control->ClickPart());
  Point release = model.mGesture.FinishAtRelease();
  HiliteControl(control, kControlNoPart);
  ControlPartCode part = control->ClickPart();
  if (!PtInRect(release, &control->mBounds) || part == kControlNoPart) return noErr;
  if (!ApplyHit(control) || !model.IsLive(control)) return noErr;
  SendControlEvent(control, kEventControlHit, part);
  return noErr;
}

bool EventRouting::ApplyHit(ControlRef control) {
  if (control->mKind == kControlKindCheckBox) {
    control->SetRange(control->mValue ? 0 : 1, control->mMinimum, control->mMaximum);
  } else if (control->mKind == kControlKindPopupButton) {
    MenuItemIndex chosen = ToolkitModel::Shared().mGesture.mChosenItem;
    if (chosen == 0) return false;  // the menu was dismissed
    if (!control->mMenu->IsEnabled(chosen)) return false;
    control->SetRange(chosen, control->mMinimum, control->mMaximum);
  }
  return true;
}

OSStatus EventRouting::SendCommand(ControlRef control) {
  if (control->mCommandID == 0) return eventNotHandledErr;
  EventHolder held(kEventClassCommand, kEventCommandProcess);
  HICommandExtended command = {};
  command.attributes = kHICommandFromControl;
  command.commandID = control->mCommandID;
  command.source.control = control;
  held.event->Set(kEventParamDirectObject, typeHICommand, sizeof command, &command);
  Send(held.event, &control->mWindow->mTarget);
  return noErr;
}

OSStatus EventRouting::CloseWindow(WindowRef window) {
  if (ControlRef escape = window->ButtonFor(KeyEquivalent::kEscape))
    return SendControlEvent(escape, kEventControlHit, kControlButtonPart);
  DisposeWindow(window);
  return noErr;
}
