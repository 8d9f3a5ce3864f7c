#pragma once
// A row that binds a check box (`Cntl` n) to an on/off option: a click goes
// straight into the option, and the box is greyed while the constraints
// forbid the other state. The row's picture follows the value.

#include <memory>

#include "toolkit/Controls.h"

class PPDXBooleanControl;
class UI_IconControl;
class ZPXPPD;

class UI_CheckBoxControl {
 public:
  static constexpr OSType kControlSignature = FourCC("Cntl");

  // Without the check box the row stays uninitialised and hears no events.
  // An icon control number of 0 means no picture.
  UI_CheckBoxControl(WindowRef window, SInt32 controlNumber, PPDXBooleanControl* option,
                     bool checkConstraints, ZPXPPD* document, SInt32 iconNumber);
  ~UI_CheckBoxControl();
  UI_CheckBoxControl(const UI_CheckBoxControl&) = delete;
  UI_CheckBoxControl& operator=(const UI_CheckBoxControl&) = delete;

  bool IsInitialized() const { return mInitialized; }
  void Initialize();
  OSStatus InstallEventHandler();
  void RemoveEventHandler();
  // The option takes the box's value.
  void ProcessBooleanCommand(ControlRef control);

 private:
  static OSStatus CheckBoxControlHandler(EventHandlerCallRef call, EventRef event, void* self);
  OSStatus HandleEvent(EventRef event);
  // Whether the document forbids the state opposite to `value`.
  bool OppositeConstrained(bool value) const;
  void RecreateIcon();

  PPDXBooleanControl* mOption;
  std::unique_ptr<UI_IconControl> mIcon;
  WindowRef mWindow;
  ControlRef mCheckBox = nullptr;
  EventHandlerRef mHandler = nullptr;
  bool mInitialized = false;
  bool mCheckConstraints;
  ZPXPPD* mDocument;
  SInt32 mIconNumber;
};
