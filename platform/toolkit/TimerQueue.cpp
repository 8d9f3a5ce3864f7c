#include "toolkit/TimerQueue.h"

#include <algorithm>

namespace {

// Fire times are sums of decimal intervals: compare with a margin far below a microsecond.
constexpr EventTime kClockSlack = 1e-9;

}  // namespace

EventLoopTimerRef TimerQueue::Install(EventTime now, EventTimerInterval delay,
                                      EventTimerInterval interval, EventLoopTimerUPP proc,
                                      void* userData) {
  EventTime fireTime = delay < 0 ? EventTime(kEventDurationForever) : now + delay;
  mTimers.push_back({proc, userData, fireTime, std::max(interval, 0.0)});
  return &mTimers.back();
}

bool TimerQueue::Contains(EventLoopTimerRef timer) const {
  return std::any_of(mTimers.begin(), mTimers.end(),
                     [&](const OpaqueEventLoopTimerRef& held) { return &held == timer; });
}

bool TimerQueue::Remove(EventLoopTimerRef timer) {
  auto found = std::find_if(mTimers.begin(), mTimers.end(),
                            [&](const OpaqueEventLoopTimerRef& held) { return &held == timer; });
  if (found == mTimers.end()) return false;
  mTimers.erase(found);
  return true;
}

EventLoopTimerRef TimerQueue::NextDue(EventTime until) const {
  const OpaqueEventLoopTimerRef* next = nullptr;
  for (const OpaqueEventLoopTimerRef& timer : mTimers) {
    if (timer.mFireTime < 0 || timer.mFireTime > until + kClockSlack) continue;
    if (!next || timer.mFireTime < next->mFireTime - kClockSlack) next = &timer;
  }
  return const_cast<EventLoopTimerRef>(next);
}

void TimerQueue::Advance(EventTime* clock, EventTime until) {
  while (EventLoopTimerRef timer = NextDue(until)) {
    *clock = std::max(*clock, timer->mFireTime);
    // Re-armed before the call, so that the callback may set another time.
    timer->mFireTime =
        timer->mInterval > 0 ? *clock + timer->mInterval : EventTime(kEventDurationForever);
    timer->mProc(timer, timer->mUserData);
  }
  *clock = std::max(*clock, until);
}
