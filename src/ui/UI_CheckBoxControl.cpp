#include "ui/UI_CheckBoxControl.h"

#include "PPDX/PPDObjects/Controls/PPDXBooleanControl.h"
#include "PPDX/ZPXPPD.h"
#include "ui/ControlUtils.h"
#include "ui/UI_IconControl.h"

namespace {

const EventTypeSpec kCheckBoxEvents[] = {{kEventClassControl, kEventControlClick},
                                         {kEventClassControl, kEventControlDraw},
                                         {kEventClassControl, kEventControlHit},
                                         {kEventClassControl, kEventControlValueFieldChanged}};

}  // namespace

UI_CheckBoxControl::UI_CheckBoxControl(WindowRef window, SInt32 controlNumber,
                                       PPDXBooleanControl* option, bool checkConstraints,
                                       ZPXPPD* document, SInt32 iconNumber)
    : mOption(option),
      mWindow(window),
      mCheckConstraints(checkConstraints),
      mDocument(document),
      mIconNumber(iconNumber) {
  const ControlID id = {kControlSignature, controlNumber};
  if (mOption == nullptr || GetControlByID(window, &id, &mCheckBox) != noErr) return;
  RecreateIcon();
  InstallEventHandler();
  Initialize();
}

UI_CheckBoxControl::~UI_CheckBoxControl() {
  if (!mInitialized) return;
  HideControl(mCheckBox);
  mIcon.reset();
  RemoveEventHandler();
}

void UI_CheckBoxControl::Initialize() {
  if (mOption->CFStringUserName() != nullptr)
    ControlUtils::SetControlTitle(mCheckBox, mOption->CFStringUserName());
  SetControl32BitValue(mCheckBox, mOption->IsTrue() ? 1 : 0);
  if (OppositeConstrained(mOption->IsTrue()))
    DisableControl(mCheckBox);
  else
    EnableControl(mCheckBox);
  ShowControl(mCheckBox);
  mInitialized = true;
}

bool UI_CheckBoxControl::OppositeConstrained(bool value) const {
  return mDocument != nullptr &&
         mDocument->IsKVConstrained(mOption->Keyword(), value ? "False" : "True");
}

OSStatus UI_CheckBoxControl::InstallEventHandler() {
  if (mHandler != nullptr) return noErr;
  return ::InstallEventHandler(GetControlEventTarget(mCheckBox),
                               NewEventHandlerUPP(CheckBoxControlHandler), 4, kCheckBoxEvents, this,
                               &mHandler);
}

void UI_CheckBoxControl::RemoveEventHandler() {
  if (mHandler != nullptr) ::RemoveEventHandler(mHandler);
  mHandler = nullptr;
}

OSStatus UI_CheckBoxControl::CheckBoxControlHandler(EventHandlerCallRef, EventRef event,
                                                    void* self) {
  return static_cast<UI_CheckBoxControl*>(self)->HandleEvent(event);
}

OSStatus UI_CheckBoxControl::HandleEvent(EventRef event) {
  if (!IsControlVisible(mCheckBox)) return eventNotHandledErr;
  const UInt32 kind = GetEventKind(event);
  if (kind == kEventControlClick || kind == kEventControlHit) {
    ControlRef control = nullptr;
    GetEventParameter(event, kEventParamDirectObject, typeControlRef, nullptr, sizeof control,
                      nullptr, &control);
    if (control == mCheckBox) ProcessBooleanCommand(control);
  }
  // The picture is made anew so that it shows the value now held.
  RecreateIcon();
  // The toolkit goes on to track the click and toggle the box.
  return eventNotHandledErr;
}

void UI_CheckBoxControl::ProcessBooleanCommand(ControlRef control) {
  const bool on = GetControl32BitValue(control) == 1;
  mOption->SetValue(on);
  if (mCheckConstraints && mDocument != nullptr) {
    if (OppositeConstrained(on))
      DisableControl(control);
    else
      EnableControl(control);
  }
  Draw1Control(control);
}

void UI_CheckBoxControl::RecreateIcon() {
  if (mIconNumber == 0) return;
  mIcon.reset();
  mIcon = std::make_unique<UI_IconControl>(mWindow, mIconNumber, mOption->Keyword(), mDocument);
}
