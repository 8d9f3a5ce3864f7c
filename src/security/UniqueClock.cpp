#include "security/UniqueClock.h"

#include <sys/time.h>

namespace {

constexpr long kMicrosecondsPerSecond = 1000000;

bool NotLater(const ClockReading& time, const ClockReading& than) {
  return time.seconds < than.seconds ||
         (time.seconds == than.seconds && time.microseconds <= than.microseconds);
}

}  // namespace

ClockReading UniqueClock::sLast = {0, 0};

ClockReading UniqueClock::Now() {
  timeval now;
  gettimeofday(&now, nullptr);
  sLast = After(sLast, ClockReading{long(now.tv_sec), long(now.tv_usec)});
  return sLast;
}

ClockReading UniqueClock::After(const ClockReading& last, const ClockReading& now) {
  // Equal readings alone are not enough: a third call within the same
  // microsecond, or a clock set back, would repeat an earlier reading.
  if (!NotLater(now, last)) return now;
  ClockReading next = {last.seconds, last.microseconds + 1};
  if (next.microseconds == kMicrosecondsPerSecond) next = {last.seconds + 1, 0};
  return next;
}
