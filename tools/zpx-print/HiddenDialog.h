#pragma once
// The print dialog of a run without a window: it gives the extension no pane,
// so the extension builds none and keeps only what the job needs; the answer
// is always Print.

#include "HostDialog.h"

class HiddenDialog : public HostDialog {
 public:
  ControlRef Pane() const override { return nullptr; }
  bool UserPrints() override { return true; }
};
