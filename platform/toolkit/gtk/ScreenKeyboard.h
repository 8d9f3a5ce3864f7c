#pragma once
// The keys of a window: Tab and Shift-Tab go round the enabled, visible
// controls in embedding order; Return and Escape press the buttons that answer
// them; Down opens a focused pop-up's menu; Right and Left open and close the
// focused list row. Space presses a button or check box, and the arrows move
// in lists and menus, as GTK does.

#include <gtk/gtk.h>

class ScreenBackend;
class ScreenWindow;

class ScreenKeyboard {
 public:
  ScreenKeyboard(ScreenBackend& backend, ScreenWindow& window)
      : mBackend(backend), mWindow(window) {}
  // True when the key was taken.
  bool Handle(const GdkEventKey* event);

 private:
  bool MoveFocus(bool backward);
  bool OpenPopup();
  bool OpenOrCloseRow(bool open);
  class ScreenControl* Focused() const;

  ScreenBackend& mBackend;
  ScreenWindow& mWindow;
};
