#pragma once
// Where zpx-print shows the print dialog: nowhere (the default), or, once
// the screen is opened, in real windows on the display DISPLAY names. The
// screen is chosen before the bundle loads, as the extension's windows must
// all be shown the same way. The screen's library is loaded only then.

#include <memory>
#include <string>

#include "HostDialog.h"
#include "PrintFailure.h"
#include "toolkit/ToolkitBackend.h"

class GuiHost {
 public:
  // Without a display: kExitBadInput, with one line that names DISPLAY. Once
  // open, a display that goes away ends the program with kExitBadInput and
  // one line, every scratch folder removed.
  PrintFailure OpenScreen();
  // The window the extension's pane goes in: the print window on the screen,
  // else the hidden one.
  std::unique_ptr<HostDialog> NewDialog(const std::string& printer) const;

 private:
  static void DisplayLost();

  std::unique_ptr<ToolkitBackend> mScreen;
};
