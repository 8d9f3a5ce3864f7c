#include "ui/UI_PopupControl.h"

#include "PPDX/PPDObjects/Controls/PPDXPopupControl.h"
#include "PPDX/ZPXPPD.h"
#include "cf/CFRef.h"
#include "foundation/CString.h"
#include "toolkit/Menus.h"
#include "ui/ControlUtils.h"
#include "ui/PopupMenuSetup.h"
#include "ui/UI_IconControl.h"

namespace {

const EventTypeSpec kPopupEvents[] = {{kEventClassControl, kEventControlClick},
                                      {kEventClassControl, kEventControlDraw},
                                      {kEventClassControl, kEventControlHit}};

constexpr SInt16 kLeftJustified = 0;

// The option's display name followed by ": ", new for the caller.
CFStringRef CopyRowTitle(PPDXPopupControl* option) {
  CFStringRef name = option->CFStringUserName();
  CFMutableStringRef title = CFStringCreateMutableCopy(nullptr, 0, name ? name : CFSTR(""));
  if (title != nullptr) CFStringAppend(title, CFSTR(": "));
  return title;
}

// Disables or enables, and shows, the control.
void Present(ControlRef control, bool disabled) {
  if (disabled)
    DisableControl(control);
  else
    EnableControl(control);
  ShowControl(control);
}

}  // namespace

UI_PopupControl::UI_PopupControl(WindowRef window, SInt32 controlNumber, PPDXPopupControl* option,
                                 bool checkConstraints, ZPXPPD* document, bool disabled,
                                 SInt32 iconNumber)
    : mOption(option),
      mWindow(window),
      mDocument(document),
      mCheckConstraints(checkConstraints),
      mDisabled(disabled) {
  if (mOption == nullptr) return;
  const ControlID popupID = {kControlSignature, controlNumber};
  const ControlID titleID = {kTitleSignature, controlNumber};
  if (GetControlByID(window, &popupID, &mPopup) != noErr ||
      GetControlByID(window, &titleID, &mTitle) != noErr)
    return;
  if (iconNumber != 0)
    mIcon = std::make_unique<UI_IconControl>(window, iconNumber, mOption->Keyword(), document);
  Initialize();
  InstallEventHandler();
}

UI_PopupControl::~UI_PopupControl() {
  if (!mInitialized) return;
  HideControl(mPopup);
  HideControl(mTitle);
  mIcon.reset();
  RemoveEventHandler();
}

void UI_PopupControl::Initialize() {
  CFRef<CFStringRef> title(CopyRowTitle(mOption));
  if (title) ControlUtils::SetControlTitle(mTitle, title.get());
  ControlUtils::setControlFontInfo(mPopup, -1, -1, -1, kLeftJustified);
  MenuRef menu = GetControlPopupMenuHandle(mPopup);
  resetMenu(menu);
  long maximum = SetupMenuFromPPDControl(mOption, menu);
  if (maximum != 0) {
    SetControl32BitMaximum(mPopup, SInt32(maximum));
    SetValue(SInt32(mOption->GetValue()));
  }
  Present(mPopup, mDisabled);
  Present(mTitle, mDisabled);
  Draw1Control(mPopup);
  mInitialized = true;
}

OSStatus UI_PopupControl::InstallEventHandler() {
  if (mHandler != nullptr) return noErr;
  return ::InstallEventHandler(GetControlEventTarget(mPopup),
                               NewEventHandlerUPP(PopupControlHandler), 3, kPopupEvents, this,
                               &mHandler);
}

void UI_PopupControl::RemoveEventHandler() {
  if (mHandler != nullptr) ::RemoveEventHandler(mHandler);
  mHandler = nullptr;
}

OSStatus UI_PopupControl::PopupControlHandler(EventHandlerCallRef, EventRef event, void* self) {
  return static_cast<UI_PopupControl*>(self)->HandleEvent(event);
}

OSStatus UI_PopupControl::HandleEvent(EventRef event) {
  if (!IsControlVisible(mPopup)) return eventNotHandledErr;
  if (GetEventKind(event) == kEventControlDraw) {
    if (mIcon) mIcon->Redraw();
    return eventNotHandledErr;
  }
  ControlRef control = nullptr;
  GetEventParameter(event, kEventParamDirectObject, typeControlRef, nullptr, sizeof control,
                    nullptr, &control);
  if (control == mPopup) ProcessPopupCommand(control);
  // The toolkit goes on to track the click and take the chosen item.
  return eventNotHandledErr;
}

void UI_PopupControl::ProcessPopupCommand(ControlRef control) {
  ValidateMenuItems();
  mOption->SetValue(GetControl32BitValue(control));
  Draw1Control(control);
}

void UI_PopupControl::ValidateMenuItems() {
  if (!mCheckConstraints || mDocument == nullptr) return;
  MenuItemIndex index = 0;
  for (_PopupItem* item = mOption->FirstItem(); item != nullptr; item = mOption->NextItem()) {
    ++index;
    const char* keyword = item->keyword != nullptr ? static_cast<const char*>(*item->keyword) : "";
    SetPopupItemEnabledAtIndex(!mDocument->IsKVConstrained(mOption->Keyword(), keyword), index);
  }
}

void UI_PopupControl::SetPopupItemEnabledAtIndex(bool enabled, MenuItemIndex index) {
  MenuRef menu = GetControlPopupMenuHandle(mPopup);
  if (enabled)
    EnableMenuItem(menu, index);
  else
    DisableMenuItem(menu, index);
}

void UI_PopupControl::ChangeControlMaximum(SInt32 maximum) {
  if (!mInitialized) return;
  MenuRef menu = GetControlPopupMenuHandle(mPopup);
  for (UInt16 count = CountMenuItems(menu); count > maximum; --count) DeleteMenuItem(menu, count);
  for (SInt32 added = 0; added < maximum; ++added)
    AppendMenuItemTextWithCFString(menu, CFSTR("Menu Item"), 0, 0, nullptr);
  SetControl32BitMaximum(mPopup, maximum);
  Draw1Control(mPopup);
}

void UI_PopupControl::SetValue(SInt32 index) {
  if (mPopup != nullptr) SetControl32BitValue(mPopup, index);
}
