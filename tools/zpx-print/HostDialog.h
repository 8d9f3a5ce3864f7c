#pragma once
// The print dialog's window as the extension sees it: the user pane it builds
// its pane in, and the user's answer once that pane is open.

#include <algorithm>

#include "toolkit/Controls.h"

class HostDialog {
 public:
  // The largest side the dialog gives a pane, whatever the extension asks.
  static constexpr UInt32 kLargestSide = 4000;

  virtual ~HostDialog() = default;
  // Null when the dialog shows no window (the extension then builds no pane)
  // or its window could not be made.
  virtual ControlRef Pane() const = 0;
  // Asked once the extension has opened its pane: true prints, false cancels.
  virtual bool UserPrints() = 0;

  // The pane as large as the extension asked in its prologue, where it is.
  void SizePane(UInt32 width, UInt32 height) const {
    Rect bounds = {0, 0, 0, 0};
    GetControlBounds(Pane(), &bounds);
    bounds.right = short(bounds.left + std::min(width, kLargestSide));
    bounds.bottom = short(bounds.top + std::min(height, kLargestSide));
    SetControlBounds(Pane(), &bounds);
  }
};
