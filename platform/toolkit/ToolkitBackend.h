#pragma once
// What shows the model to a user (a real toolkit) or stands in for one (the
// headless driver of the tests). A modal loop asks it for the user's next step;
// the system services that depend on a screen ask it too, and without a
// backend, or when it leaves a service to the model, get the headless answer.

#include <string>

#include "toolkit/Appearance.h"
#include "toolkit/CarbonEvents.h"
#include "toolkit/CoreGraphics.h"

class ToolkitBackend {
 public:
  virtual ~ToolkitBackend() = default;
  // Performs the user's next action inside the modal loop of `window`; false
  // when the user has nothing more to do.
  virtual bool PerformModalStep(WindowRef window) = 0;
  // The modal loop of `window` was left with nothing to do and will not end.
  virtual void ModalLoopStalled(WindowRef window) = 0;

  // The time now, when the backend's clock is real time; false: the model's
  // virtual clock, which moves only when told to.
  virtual bool Clock(EventTime*) { return false; }
  // The main display's bounds; false: the model's own.
  virtual bool DisplayBounds(CGRect*) { return false; }
  // Size of one line of text in the font, and its baseline below the line's
  // bottom (negative); false: the model's fixed-width measure.
  virtual bool MeasureText(const std::string&, ThemeFontID, Point*, SInt16*) { return false; }
  virtual void Beep() {}
  virtual void ShowCursor(ThemeCursor) {}
  // The process came to the front: its front window takes the user's input.
  virtual void ComeToFront() {}
};
