#pragma once
// The clock of the identifier generator: the time of day in seconds and
// microseconds, never handing out the same reading twice in a process.

struct ClockReading {
  long seconds;
  long microseconds;  // 0 to 999999
};

class UniqueClock {
 public:
  // The current time, or one microsecond after the last reading handed out
  // when the current time is not later than that.
  static ClockReading Now();

  // The reading to hand out at `now` when `last` was handed out before.
  static ClockReading After(const ClockReading& last, const ClockReading& now);

 private:
  static ClockReading sLast;
};
