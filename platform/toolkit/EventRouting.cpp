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

// The control the event is about, and its part when not 0.
void SetControlParameters(EventRef event, ControlRef control, ControlPartCode part) {
  event->Set(kEventParamDirectObject, typeControlRef, sizeof control, &control);
  if (part != kControlNoPart)
    event->Set(kEventParamControlPart, typeControlPartCode, sizeof part, &part);
}

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
  SetControlParameters(held.event, control, part);
  return Send(held.event, &control->mTarget);
}

OSStatus EventRouting::SendClick(ControlRef control, MenuItemIndex chosen) {
  EventHolder held(kEventClassControl, kEventControlClick);
  SetControlParameters(held.event, control, control->ClickPart());
  if (chosen != 0)
    held.event->Set(kEventParamMenuItemIndex, typeMenuItemIndex, sizeof chosen, &chosen);
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
      case kEventControlClick:
        return TrackClick(event, control);
      case kEventControlHit:
        return SendCommand(control);
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

OSStatus EventRouting::TrackClick(EventRef click, ControlRef control) {
  ToolkitModel& model = ToolkitModel::Shared();
  HiliteControl(control, control->ClickPart());
  Point release = model.mGesture.FinishAtRelease();
  HiliteControl(control, kControlNoPart);
  ControlPartCode part = control->ClickPart();
  if (!PtInRect(release, &control->mBounds) || part == kControlNoPart) return noErr;
  if (control->mKind == kControlKindPopupButton) {
    MenuItemIndex chosen = 0;  // the menu was dismissed
    click->Read(kEventParamMenuItemIndex, typeMenuItemIndex, &chosen);
    PickMenuItem(control, chosen);
    return noErr;
  }
  if (control->mKind == kControlKindCheckBox)
    control->SetRange(control->mValue ? 0 : 1, control->mMinimum, control->mMaximum);
  if (model.IsLive(control)) SendControlEvent(control, kEventControlHit, part);
  return noErr;
}

bool EventRouting::PickMenuItem(ControlRef popup, MenuItemIndex item) {
  if (item == 0 || !popup->mMenu || !popup->mMenu->IsEnabled(item)) return false;
  popup->SetRange(item, popup->mMinimum, popup->mMaximum);
  if (ToolkitModel::Shared().IsLive(popup))
    SendControlEvent(popup, kEventControlHit, kControlMenuPart);
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
