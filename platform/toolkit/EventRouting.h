#pragma once
// How an event travels: the control's handlers, its window's, the
// application's, and when all of them answer eventNotHandledErr the toolkit's
// standard handling: a click tracks the mouse and becomes a hit only when
// released inside; a hit toggles a check box, takes a pop-up's chosen item and
// sends the control's command to its window; closing a window presses its
// Escape button, or disposes it when it has none; a draw runs a user pane's
// draw callback.

#include "toolkit/CarbonEvents.h"

class EventRouting {
 public:
  static OSStatus Send(EventRef event, EventTargetRef target);
  // An event of the control class about `control`, with the part when not 0.
  static OSStatus SendControlEvent(ControlRef control, UInt32 kind, ControlPartCode part);
  static OSStatus SendWindowClose(WindowRef window);

 private:
  static OSStatus Standard(EventRef event);
  static OSStatus TrackClick(ControlRef control);
  // What a hit changes in the control before the handlers hear of it; false
  // when the hit is refused (a disabled menu item).
  static bool ApplyHit(ControlRef control);
  static OSStatus SendCommand(ControlRef control);
  static OSStatus CloseWindow(WindowRef window);
};
