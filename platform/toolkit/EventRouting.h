#pragma once
// How an event travels: the control's handlers, its window's, the
// application's, and when all of them answer eventNotHandledErr the toolkit's
// standard handling: a click tracks the mouse and becomes a hit only when
// released inside (a check box toggles; a pop-up takes the item its menu was
// released on, carried by the click); a hit sends the control's command to its
// window; closing a window presses its Escape button, or disposes it when it
// has none; a draw runs a user pane's draw callback.

#include "toolkit/CarbonEvents.h"

class EventRouting {
 public:
  static OSStatus Send(EventRef event, EventTargetRef target);
  // An event of the control class about `control`, with the part when not 0.
  static OSStatus SendControlEvent(ControlRef control, UInt32 kind, ControlPartCode part);
  // A click on the control; on a pop-up, `chosen` is the item its menu is
  // released on (0: dismissed).
  static OSStatus SendClick(ControlRef control, MenuItemIndex chosen);
  static OSStatus SendWindowClose(WindowRef window);
  // What picking an item in a pop-up's open menu does: the item becomes the
  // value, and the pop-up's hit follows. False, and nothing done, when the
  // item is missing or disabled.
  static bool PickMenuItem(ControlRef popup, MenuItemIndex item);

 private:
  static OSStatus Standard(EventRef event);
  static OSStatus TrackClick(EventRef click, ControlRef control);
  static OSStatus SendCommand(ControlRef control);
  static OSStatus CloseWindow(WindowRef window);
};
