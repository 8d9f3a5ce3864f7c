// The pane's events: its handler on the dialog and on its buttons while it
// is shown, the live-pane rule, commands and control hits.

#include <algorithm>
#include <iterator>
#include <utility>

#include "cf/CFRef.h"
#include "foundation/CString.h"
#include "output/PDEData.h"
#include "plugin/PDEBundle.h"
#include "toolkit/Controls.h"
#include "toolkit/MacHelp.h"
#include "ui/ControlUtils.h"
#include "ui/UI_IPAddressPanel.h"
#include "ui/UI_Panel.h"

namespace {

const EventTypeSpec kControlEvents[] = {{kEventClassControl, kEventControlClick},
                                        {kEventClassControl, kEventControlHit}};
const EventTypeSpec kCommandEvents[] = {{kEventClassCommand, kEventCommandProcess}};

}  // namespace

void UI_Panel::InstallHandler(EventTargetRef target) {
  EventHandlerRef handler = nullptr;
  if (InstallEventHandler(target, NewEventHandlerUPP(EventHandler), std::size(kControlEvents),
                          kControlEvents, this, &handler) == noErr)
    mControlHandlers.push_back(handler);
}

void UI_Panel::Show() {
  if (mHandler == nullptr && mDialog != nullptr) {
    InstallEventHandler(GetWindowEventTarget(mDialog), NewEventHandlerUPP(EventHandler),
                        std::size(kCommandEvents), kCommandEvents, this, &mHandler);
    // The Configure button of the address area is its own to track as well.
    const std::pair<OSType, SInt32> targets[] = {
        {kJobPropertiesSignature, kJobPropertiesButton},
        {kCustomizeSignature, kCustomizeButton},
        {kResetSignature, kResetButton},
        {UI_IPAddressPanel::kSwitchSignature, UI_IPAddressPanel::kControlNumber},
        {UI_IPAddressPanel::kConfigureSignature, UI_IPAddressPanel::kControlNumber},
        {kScrollSignature, kScrollBar}};
    for (const auto& [signature, number] : targets)
      if (ControlRef control = DialogControl(signature, number))
        InstallHandler(GetControlEventTarget(control));
  }
  ShiftForSmallScreenOnce();
  if (mParentPane != nullptr) SetControlVisibility(mParentPane, true, true);
  UpdateJobPropertiesButton();
  RefreshStoredAddress();
}

// Asked at each showing, so that a companion installed meanwhile is offered.
void UI_Panel::UpdateJobPropertiesButton() {
  ControlRef button = DialogControl(kJobPropertiesSignature, kJobPropertiesButton);
  if (button == nullptr) return;
  HMHelpContentRec help = {kMacHelpVersion, {0, 0, 0, 0}, kHMDefaultSide, {}};
  help.content[kHMMinimumContentIndex].contentType = kHMNoContent;
  help.content[kHMMaximumContentIndex].contentType = kHMNoContent;
  CFRef<CFStringRef> why;
  if (CompanionInstalled()) {
    EnableControl(button);
  } else {
    DisableControl(button);
    why.reset(PDEBundle::CopyLocalizedCFString(CFSTR("NO_COMPANION")));
    help.content[kHMMinimumContentIndex] = {kHMCFStringContent, {why.get()}};
  }
  HMSetControlHelpContent(button, &help);
}

void UI_Panel::Hide() {
  if (mParentPane != nullptr) SetControlVisibility(mParentPane, false, false);
  StopHandlingEvents();
}

void UI_Panel::StopHandlingEvents() {
  if (mHandler != nullptr) RemoveEventHandler(std::exchange(mHandler, nullptr));
  for (EventHandlerRef handler : mControlHandlers) RemoveEventHandler(handler);
  mControlHandlers.clear();
  CloseCustomize();
}

OSStatus UI_Panel::EventHandler(EventHandlerCallRef, EventRef event, void* panel) {
  auto* self = static_cast<UI_Panel*>(panel);
  if (self != sLivePanel || self->mDocumentGone) return eventNotHandledErr;
  self->mLastStatus = self->HandleEvent(event);
  return self->mLastStatus;
}

OSStatus UI_Panel::HandleEvent(EventRef event) {
  if (ProcessIPAddressEvent(event) == noErr) return noErr;
  if (GetEventClass(event) == kEventClassCommand) {
    HICommand command;
    if (GetEventParameter(event, kEventParamDirectObject, typeHICommand, nullptr, sizeof command,
                          nullptr, &command) != noErr)
      return eventNotHandledErr;
    return ProcessCommandEvent(command.commandID);
  }
  ControlRef control = nullptr;
  ControlID id = {0, 0};
  if (GetEventParameter(event, kEventParamDirectObject, typeControlRef, nullptr, sizeof control,
                        nullptr, &control) != noErr ||
      GetControlID(control, &id) != noErr)
    return eventNotHandledErr;
  if (id.signature == kJobPropertiesSignature && id.id == kJobPropertiesButton)
    return HandleJobPropertiesPress(event, control);
  return ProcessControlHit(event, control);
}

// A click becomes a hit only when released inside; both start one exchange
// and are then the pane's alone. While the companion works they are swallowed.
OSStatus UI_Panel::HandleJobPropertiesPress(EventRef event, ControlRef control) {
  if (mIgnoreButton) return noErr;
  if (GetEventKind(event) == kEventControlClick && !MSWordWorkaround(control))
    return eventNotHandledErr;
  LaunchJobProperties(kJPMainView);
  return noErr;
}

bool UI_Panel::MSWordWorkaround(ControlRef control) {
  ControlKind kind = {0, 0};
  GetControlKind(control, &kind);
  if (kind.kind != kControlKindPushButton && kind.kind != kControlKindCheckBox) return false;
  if (!ControlUtils::TrackClick(control)) return false;
  if (kind.kind == kControlKindCheckBox)
    SetControl32BitValue(control, GetControl32BitValue(control) == 0 ? 1 : 0);
  return true;
}

OSStatus UI_Panel::ProcessIPAddressEvent(EventRef event) {
  return mAddressArea != nullptr ? mAddressArea->HandleIPAddressPanelEvent(event)
                                 : eventNotHandledErr;
}

void UI_Panel::MarkAddressChanged() {
  if (mList != nullptr) mList->WriteChangedFlag(true);
  mSettingsChanged = true;
}

OSStatus UI_Panel::ProcessCommandEvent(UInt32 command) {
  switch (command) {
    case UI_IPAddressPanel::kSwitchChangedCommand:
      MarkAddressChanged();
      if (mAddressArea != nullptr) mData->SetIPAddressEnabled(mAddressArea->IsTwoWayOn());
      break;
    case UI_IPAddressPanel::kAddressChangedCommand:
      if (mAddressArea != nullptr && mAddressArea->IPAddressHasChanged(nullptr, 0)) {
        mData->SetMelvanePrinterAddress(mPrinterName.get(),
                                        CString(mAddressArea->Address().c_str()),
                                        mAddressArea->IsTwoWayOn());
        MarkAddressChanged();
      }
      break;
    case kJobPropertiesCommand:
      if (!mIgnoreButton) LaunchJobProperties(kJPMainView);
      break;
    case kAddCommand:
      AddShortCut();
      break;
    case kRemoveCommand:
      RemoveShortCut();
      break;
    case kMoveUpCommand:
      MoveShortcutUp();
      break;
    case kMoveDownCommand:
      MoveShortcutDown();
      break;
    case kOKCommand:
      CustomizeDialogOnOK();
      break;
    case kCancelCommand:
      CloseCustomize();
      break;
    default:
      break;
  }
  return eventNotHandledErr;
}

// Buttons act on their hit; the scroll bar scrolls by the hit's part, and a
// click (no part) only rebuilds the rows at its value.
OSStatus UI_Panel::ProcessControlHit(EventRef event, ControlRef control) {
  ControlID id = {0, 0};
  GetControlID(control, &id);
  const bool hit = GetEventKind(event) == kEventControlHit;
  ControlPartCode part = kControlNoPart;
  GetEventParameter(event, kEventParamControlPart, typeControlPartCode, nullptr, sizeof part,
                    nullptr, &part);
  switch (id.id) {
    case kJobPropertiesButton:
      if (hit) LaunchJobProperties(kJPMainView);
      break;
    case kCustomizeButton:
      if (hit) OpenCustomize();
      break;
    case kResetButton:
      if (hit) ResetControlsToDefault();
      break;
    case kScrollBar:
      if (hit) {
        LiveActionProc(control, part);
      } else {
        sScrollOffset = std::max<SInt32>(0, GetControl32BitValue(control));
        CreateBasicPanel();
      }
      break;
    default:
      break;
  }
  return eventNotHandledErr;
}
