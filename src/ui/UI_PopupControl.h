#pragma once
// A row that binds a pop-up (`Cntl` n, titled by `Ttle` n) to a pick-one
// option: the menu shows the choices, a choice goes straight into the option,
// and choices the constraints forbid are greyed before the menu opens.

#include <memory>

#include "toolkit/Controls.h"

class PPDXPopupControl;
class UI_IconControl;
class ZPXPPD;

class UI_PopupControl {
 public:
  static constexpr OSType kControlSignature = FourCC("Cntl");
  static constexpr OSType kTitleSignature = FourCC("Ttle");

  // Without an option, or without both controls, the row stays uninitialised
  // and hears no events. An icon control number of 0 means no picture.
  UI_PopupControl(WindowRef window, SInt32 controlNumber, PPDXPopupControl* option,
                  bool checkConstraints, ZPXPPD* document, bool disabled, SInt32 iconNumber);
  ~UI_PopupControl();
  UI_PopupControl(const UI_PopupControl&) = delete;
  UI_PopupControl& operator=(const UI_PopupControl&) = delete;

  bool IsInitialized() const { return mInitialized; }
  void Initialize();
  OSStatus InstallEventHandler();
  void RemoveEventHandler();
  // The option takes the pop-up's value.
  void ProcessPopupCommand(ControlRef control);
  void ValidateMenuItems();
  void SetPopupItemEnabledAtIndex(bool enabled, MenuItemIndex index);
  // Leaves `maximum` placeholder items (none for 0) and that maximum.
  void ChangeControlMaximum(SInt32 maximum);
  void SetValue(SInt32 index);

 private:
  static OSStatus PopupControlHandler(EventHandlerCallRef call, EventRef event, void* self);
  OSStatus HandleEvent(EventRef event);

  PPDXPopupControl* mOption;
  WindowRef mWindow;
  bool mInitialized = false;
  std::unique_ptr<UI_IconControl> mIcon;
  ControlRef mPopup = nullptr;
  ControlRef mTitle = nullptr;
  EventHandlerRef mHandler = nullptr;
  ZPXPPD* mDocument;
  bool mCheckConstraints;
  bool mDisabled;
};
