#pragma once
// The window a print dialog would show, with the user pane it gives the
// extension, never shown: printing without a dialog, the answer is always Print.

#include "HostDialog.h"
#include "toolkit/MacWindows.h"

class HiddenDialog : public HostDialog {
 public:
  HiddenDialog();
  ~HiddenDialog() override;
  HiddenDialog(const HiddenDialog&) = delete;
  HiddenDialog& operator=(const HiddenDialog&) = delete;

  ControlRef Pane() const override { return mPane; }
  bool UserPrints() override { return true; }

 private:
  WindowRef mWindow = nullptr;
  ControlRef mPane = nullptr;
};
