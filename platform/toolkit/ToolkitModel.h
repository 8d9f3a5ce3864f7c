#pragma once
// The toolkit's state, one per process: the application's event target, the
// windows front to back, the live controls, the clock and its timers, the
// posted-event queue, the modal loops, the mouse gesture and the backend
// that shows all of it.

#include <unordered_set>
#include <vector>

#include "toolkit/EventTarget.h"
#include "toolkit/ModalLoops.h"
#include "toolkit/MouseGesture.h"
#include "toolkit/PostedEventQueue.h"
#include "toolkit/TimerQueue.h"
#include "toolkit/ToolkitBackend.h"

class ToolkitModel {
 public:
  static ToolkitModel& Shared();

  void AddWindow(WindowRef window);
  void RemoveWindow(WindowRef window);
  void BringToFront(WindowRef window);
  // The frontmost visible window, or null.
  WindowRef FrontWindow() const;
  bool IsLive(WindowRef window) const;
  const std::vector<WindowRef>& Windows() const { return mWindows; }

  void Register(ControlRef control) { mControls.insert(control); }
  void Unregister(ControlRef control) { mControls.erase(control); }
  bool IsLive(ControlRef control) const { return mControls.count(control) != 0; }
  // Whether the target is the application's or one of a live window or control.
  bool IsLive(EventTargetRef target) const;

  // The backend's clock when it keeps real time, else the virtual one.
  EventTime Now() const;
  // Moves the clock forward, firing the timers due on the way.
  void AdvanceClock(EventTimerInterval seconds);
  void AdvanceClockTo(EventTime until);

  OpaqueEventTargetRef mApplication{nullptr, nullptr};
  TimerQueue mTimers;
  PostedEventQueue mPosted;
  ModalLoops mModalLoops;
  MouseGesture mGesture;
  ToolkitBackend* mBackend = nullptr;
  ControlRef mDrawing = nullptr;  // the control being drawn, which keeps what is drawn

 private:
  std::vector<WindowRef> mWindows;  // back to front
  std::unordered_set<ControlRef> mControls;
  EventTime mClock = 0;
};
