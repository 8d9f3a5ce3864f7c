#pragma once
// The print dialog's window as the extension sees it: the user pane it builds
// its pane in, and the user's answer once that pane is open.

#include "toolkit/Controls.h"

class HostDialog {
 public:
  // The pane's size the extension asks for in its prologue.
  static constexpr short kPaneWidth = 525;
  static constexpr short kPaneHeight = 200;

  virtual ~HostDialog() = default;
  // Null when the window could not be made.
  virtual ControlRef Pane() const = 0;
  // Asked once the extension has opened its pane: true prints, false cancels.
  virtual bool UserPrints() = 0;
};
