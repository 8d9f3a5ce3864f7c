#pragma once
// The print window a person sees: the printer's name, the user pane the
// extension builds its pane in, and Print and Cancel below it (Return and
// Escape; closing the window is Cancel). While the person decides, the
// application's loop runs, so the pane's own windows (Customize) take input
// too.

#include <string>

#include "HostDialog.h"
#include "toolkit/CarbonEvents.h"
#include "toolkit/MacWindows.h"

class PrintWindow : public HostDialog {
 public:
  static constexpr UInt32 kPrintCommand = FourCC("ok  ");
  static constexpr UInt32 kCancelCommand = FourCC("not!");

  explicit PrintWindow(const std::string& printer);
  ~PrintWindow() override;
  PrintWindow(const PrintWindow&) = delete;
  PrintWindow& operator=(const PrintWindow&) = delete;

  ControlRef Pane() const override { return mPane; }
  // Fits the pane to what the extension left shown in it and the window to
  // the pane, shows it and waits for Print or Cancel.
  bool UserPrints() override;
  WindowRef Window() const { return mWindow; }

 private:
  void MakeControls(const std::string& printer);
  void FitToPane();
  static OSStatus OnCommand(EventHandlerCallRef, EventRef event, void* self);

  WindowRef mWindow = nullptr;
  ControlRef mPane = nullptr;
  ControlRef mPrint = nullptr;
  ControlRef mCancel = nullptr;
  EventHandlerRef mHandler = nullptr;
  bool mPrinting = false;
};
