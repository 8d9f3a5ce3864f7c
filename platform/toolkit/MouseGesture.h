#pragma once
// The mouse gesture the user is making: the points the mouse goes through after
// the press, up to its release.

#include <deque>

#include "toolkit/CarbonEvents.h"

class MouseGesture {
 public:
  void Begin(Point press);
  void MoveTo(Point point);
  void ReleaseAt(Point point);
  // The next step; once the steps are used up, a release where the mouse is.
  MouseTrackingResult Next(Point* outPoint);
  // Steps up to and including the release; where it was released.
  Point FinishAtRelease();

 private:
  struct Step {
    Point point;
    MouseTrackingResult result;
  };
  std::deque<Step> mSteps;
  Point mLast = {0, 0};
};
