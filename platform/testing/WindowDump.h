#pragma once
// A window as stable text for expected files: the window's class, title,
// bounds and visibility, then each control of its tree, one per line,
// indented by depth: kind, ID, bounds, text, value and range, state, command,
// and its menu items.

#include <sstream>
#include <string>

#include "toolkit/CarbonEvents.h"

class WindowDump {
 public:
  explicit WindowDump(WindowRef window);
  std::string Text() const { return mOut.str(); }

 private:
  void Control(ControlRef control, int depth);
  void Menu(MenuRef menu, int depth);
  void Rows(ControlRef control, int depth);
  std::ostringstream mOut;
};
