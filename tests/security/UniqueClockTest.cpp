#include "security/UniqueClock.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

bool Before(const ClockReading& a, const ClockReading& b) {
  return a.seconds < b.seconds || (a.seconds == b.seconds && a.microseconds < b.microseconds);
}

TEST(UniqueClockTest, AReadingIsNeverHandedOutTwice) {
  auto after = [](ClockReading last, ClockReading now) {
    ClockReading next = UniqueClock::After(last, now);
    return std::vector<long>{next.seconds, next.microseconds};
  };
  EXPECT_EQ(after({10, 500}, {10, 501}), (std::vector<long>{10, 501}));
  EXPECT_EQ(after({10, 500}, {11, 0}), (std::vector<long>{11, 0}));
  // The same microsecond again: one microsecond on, across the second.
  EXPECT_EQ(after({10, 500}, {10, 500}), (std::vector<long>{10, 501}));
  EXPECT_EQ(after({10, 999999}, {10, 999999}), (std::vector<long>{11, 0}));
  // A clock that has not caught up with readings already moved on, or was set back.
  EXPECT_EQ(after({10, 502}, {10, 500}), (std::vector<long>{10, 503}));
  EXPECT_EQ(after({10, 502}, {9, 999999}), (std::vector<long>{10, 503}));

  // Many readings in a row, far faster than the clock's resolution, all rise.
  ClockReading previous = UniqueClock::Now();
  for (int i = 0; i < 10000; ++i) {
    const ClockReading next = UniqueClock::Now();
    ASSERT_TRUE(Before(previous, next)) << i;
    ASSERT_GE(next.microseconds, 0);
    ASSERT_LT(next.microseconds, 1000000);
    previous = next;
  }
}

}  // namespace
