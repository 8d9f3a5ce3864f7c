#include "toolkit/MouseGesture.h"

void MouseGesture::Begin(Point press) {
  mSteps.clear();
  mLast = press;
}

void MouseGesture::MoveTo(Point point) { mSteps.push_back({point, kMouseTrackingMouseDragged}); }

void MouseGesture::ReleaseAt(Point point) { mSteps.push_back({point, kMouseTrackingMouseUp}); }

MouseTrackingResult MouseGesture::Next(Point* outPoint) {
  if (mSteps.empty()) {
    *outPoint = mLast;
    return kMouseTrackingMouseUp;
  }
  Step step = mSteps.front();
  mSteps.pop_front();
  mLast = step.point;
  *outPoint = step.point;
  return step.result;
}

Point MouseGesture::FinishAtRelease() {
  Point point;
  while (Next(&point) != kMouseTrackingMouseUp) {
  }
  return point;
}
