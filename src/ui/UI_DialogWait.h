#pragma once
// The base of the plug-in's own modal dialogs: a window from an interface
// file, shown over the print dialog (as its sheet when the window is of a
// sheet class), and a modal loop that the OK and Cancel commands end once the
// dialog accepts its input.

#include "toolkit/Controls.h"
#include "toolkit/MacWindows.h"

class UI_DialogWait {
 public:
  static constexpr UInt32 kOKCommand = FourCC("ok  ");
  static constexpr UInt32 kCancelCommand = FourCC("not!");
  static constexpr OSType kOKButton = FourCC("ok  ");
  static constexpr OSType kCancelButton = FourCC("canc");

  explicit UI_DialogWait(WindowRef parent);
  UI_DialogWait(const UI_DialogWait&) = delete;
  UI_DialogWait& operator=(const UI_DialogWait&) = delete;

  // Derived dialogs override these; their order is the order of their slots.
  virtual ~UI_DialogWait();
  // 1 accepts (OK ends the dialog), -1 cancels it, anything else keeps it open.
  virtual int validateInput();
  virtual void enableOK(bool on);
  virtual void enableCancel(bool on);
  virtual void onCancel();
  virtual void onOK();
  virtual void show();
  virtual void hide();

  OSStatus installEventHandler(WindowRef window);
  void removeEventHandler();
  // Runs the modal loop until OK or Cancel ends it; the ending command.
  UInt32 waitForUser();
  UInt32 EndingCommand() const { return mEndingCommand; }
  WindowRef Window() const { return mWindow; }
  // The control of the dialog's window, or null.
  ControlRef getControlByID(OSType signature, SInt32 number) const;
  // Sets the parts whose argument is not negative; paramErr without a control.
  static OSStatus setFontInfo(ControlRef control, SInt16 font, SInt16 size, SInt16 style);
  // "OK" and "Cancel" from the "Dialogs" table.
  void setStandardButtonTitles();

 protected:
  // Titles the OK button (sized keeping its left edge) and the Cancel button
  // (keeping its right edge) with the keys' texts of the "Dialogs" table.
  void TitleButtons(CFStringRef okKey, CFStringRef cancelKey);
  bool IsSheet() const;

  WindowRef mWindow = nullptr;
  WindowRef mParent;

 private:
  static OSStatus waitDialogHandler(EventHandlerCallRef call, EventRef event, void* self);
  OSStatus HandleCommand(UInt32 command);
  void End(UInt32 command);
  void EnableButton(OSType signature, bool on);

  UInt32 mEndingCommand = 0;
  EventHandlerRef mHandler = nullptr;
};
