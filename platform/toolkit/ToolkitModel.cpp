#include "toolkit/ToolkitModel.h"

#include <algorithm>

#include "toolkit/ToolkitControl.h"
#include "toolkit/ToolkitWindow.h"

ToolkitModel& ToolkitModel::Shared() {
  static ToolkitModel* sModel = new ToolkitModel;  // lives as long as the process
  return *sModel;
}

void ToolkitModel::AddWindow(WindowRef window) { mWindows.push_back(window); }

void ToolkitModel::RemoveWindow(WindowRef window) {
  mWindows.erase(std::remove(mWindows.begin(), mWindows.end(), window), mWindows.end());
}

void ToolkitModel::BringToFront(WindowRef window) {
  RemoveWindow(window);
  AddWindow(window);
}

WindowRef ToolkitModel::FrontWindow() const {
  auto front = std::find_if(mWindows.rbegin(), mWindows.rend(),
                            [](WindowRef window) { return window->mVisible; });
  return front == mWindows.rend() ? nullptr : *front;
}

bool ToolkitModel::IsLive(WindowRef window) const {
  return std::find(mWindows.begin(), mWindows.end(), window) != mWindows.end();
}

bool ToolkitModel::IsLive(EventTargetRef target) const {
  if (target == &mApplication) return true;
  bool ofWindow = std::any_of(mWindows.begin(), mWindows.end(),
                              [&](WindowRef window) { return &window->mTarget == target; });
  return ofWindow || std::any_of(mControls.begin(), mControls.end(),
                                 [&](ControlRef control) { return &control->mTarget == target; });
}

EventTime ToolkitModel::Now() const {
  EventTime real = 0;
  return mBackend && mBackend->Clock(&real) ? std::max(real, mClock) : mClock;
}

void ToolkitModel::AdvanceClock(EventTimerInterval seconds) {
  AdvanceClockTo(mClock + std::max(seconds, 0.0));
}

void ToolkitModel::AdvanceClockTo(EventTime until) {
  mTimers.Advance(&mClock, std::max(until, mClock));
}
