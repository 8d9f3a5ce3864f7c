#pragma once
// What a user does to the model, whatever shows it: clicks, menu choices,
// the default and cancel keys, closing windows, rows of lists. Each turns
// into the events the platform sends, and the main run loop then runs until
// idle. Each answers false when the user could not do it: the control is
// hidden or disabled (or above it), the item is missing or disabled, no
// button answers the key.

#include "toolkit/CarbonEvents.h"

class ListView;
enum class KeyEquivalent;

class UserActions {
 public:
  bool Click(ControlRef control);
  bool Press(ControlRef control);
  // In window coordinates.
  void MoveTo(Point point);
  void Release(Point point);
  // A click that opens the pop-up's menu and picks `item` in it.
  bool ChooseMenuItem(ControlRef popup, MenuItemIndex item);
  // A click that opens the pop-up's menu and dismisses it: the program hears
  // of the click, nothing is chosen.
  bool OpenMenu(ControlRef popup);
  // The pick of `item` in the pop-up's menu shown open on the screen, which
  // heard of the click when it opened: the item becomes the value and the
  // program hears of the hit.
  bool ChoosePopupItem(ControlRef popup, MenuItemIndex item);
  bool PressReturn();
  bool PressEscape();
  void CloseWindow(WindowRef window);
  // List rows: a click on the row selects it alone; opening a container tells
  // the program, which adds its rows; sorting clicks a column heading.
  bool SelectRow(ControlRef list, UInt32 item);
  bool OpenRow(ControlRef list, UInt32 item);
  bool CloseRow(ControlRef list, UInt32 item);
  bool DoubleClickRow(ControlRef list, UInt32 item);
  bool SortRows(ControlRef list, UInt32 property, bool increasing);
  // Runs the main run loop until nothing is waiting (posted events, sources).
  void RunUntilIdle();

  // Whether the user can reach the control: live, shown and in a shown window.
  static bool Reachable(ControlRef control);

 private:
  // The action on a reachable list's row, then the run loop until idle.
  bool OnRow(ControlRef list, UInt32 item, bool (ListView::*action)(UInt32));
  bool PressKeyButton(KeyEquivalent key);
  // Presses the pop-up and releases it on `item` (0: dismissed).
  bool ClickMenu(ControlRef popup, MenuItemIndex item);
  // Releases the pressed control at `point`, on `chosen` in a pop-up's menu.
  void ReleaseOn(Point point, MenuItemIndex chosen);

  ControlRef mPressed = nullptr;
};
