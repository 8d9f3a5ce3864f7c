#pragma once
// What shows the model to a user (a real toolkit) or stands in for one (the
// headless driver of the tests). A modal loop asks it for the user's next step.

#include "toolkit/CarbonEvents.h"

class ToolkitBackend {
 public:
  virtual ~ToolkitBackend() = default;
  // Performs the user's next action inside the modal loop of `window`; false
  // when the user has nothing more to do.
  virtual bool PerformModalStep(WindowRef window) = 0;
  // The modal loop of `window` was left with nothing to do and will not end.
  virtual void ModalLoopStalled(WindowRef window) = 0;
};
