#pragma once
// The event loop's timers on the toolkit's clock. The clock only moves when
// told to (the headless backend's virtual time); due timers fire in the order
// of their fire times, earliest installed first among equals.

#include <list>

#include "toolkit/CarbonEvents.h"

struct OpaqueEventLoopTimerRef {
  EventLoopTimerUPP mProc;
  void* mUserData;
  EventTime mFireTime;  // kEventDurationForever: not armed
  EventTimerInterval mInterval;
};

class TimerQueue {
 public:
  EventLoopTimerRef Install(EventTime now, EventTimerInterval delay, EventTimerInterval interval,
                            EventLoopTimerUPP proc, void* userData);
  bool Remove(EventLoopTimerRef timer);
  bool Contains(EventLoopTimerRef timer) const;
  // Moves the clock to `until`, firing every timer due on the way.
  void Advance(EventTime* clock, EventTime until);
  // The earliest armed timer due at or before `until`, or null.
  EventLoopTimerRef NextDue(EventTime until) const;

 private:
  std::list<OpaqueEventLoopTimerRef> mTimers;
};
