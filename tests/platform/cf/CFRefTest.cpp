#include <gtest/gtest.h>

#include <type_traits>
#include <utility>

#include "cf/CFRef.h"
#include "cf/CoreFoundation.h"

namespace {

static_assert(!std::is_copy_constructible<CFRef<CFStringRef>>::value, "one owner per reference");
static_assert(!std::is_convertible<CFRef<CFStringRef>, bool>::value, "bool only when asked");

// A new string with one extra reference that the test keeps, so that the count
// can still be read after a holder gave its own reference back.
CFStringRef WatchedString(const char* text) {
  CFStringRef string = CFStringCreateWithCString(kCFAllocatorDefault, text, kCFStringEncodingUTF8);
  CFRetain(string);
  return string;
}

}  // namespace

TEST(CFRef, ReleasesWhatItAdoptsOrRetainsOnceAtScopeEnd) {
  CFStringRef created = WatchedString("created");
  {
    CFRef<CFStringRef> held(created);
    EXPECT_TRUE(held);
    EXPECT_EQ(held.get(), created);
    EXPECT_EQ(CFGetRetainCount(created), 2);
  }
  EXPECT_EQ(CFGetRetainCount(created), 1);
  CFRelease(created);

  CFStringRef borrowed = CFStringCreateWithCString(nullptr, "borrowed", kCFStringEncodingUTF8);
  {
    CFRef<CFStringRef> held = CFRef<CFStringRef>::Retain(borrowed);
    EXPECT_EQ(held.get(), borrowed);
    EXPECT_EQ(CFGetRetainCount(borrowed), 2);
  }
  EXPECT_EQ(CFGetRetainCount(borrowed), 1);
  CFRelease(borrowed);

  CFRef<CFStringRef> none(nullptr);
  EXPECT_FALSE(none);
  EXPECT_FALSE(CFRef<CFStringRef>::Retain(nullptr));
}

TEST(CFRef, MovingOrHandingOutPassesTheOneReferenceOn) {
  CFStringRef string = WatchedString("moved");
  {
    CFRef<CFStringRef> first(string);
    CFRef<CFStringRef> second(std::move(first));
    EXPECT_FALSE(first);
    EXPECT_EQ(second.get(), string);
    CFRef<CFStringRef> third;
    third = std::move(second);
    EXPECT_EQ(third.get(), string);
    EXPECT_EQ(CFGetRetainCount(string), 2);
  }
  EXPECT_EQ(CFGetRetainCount(string), 1);

  CFStringRef handedOut;
  {
    CFRef<CFStringRef> held = CFRef<CFStringRef>::Retain(string);
    handedOut = held.release();
    EXPECT_FALSE(held);
  }
  EXPECT_EQ(handedOut, string);
  EXPECT_EQ(CFGetRetainCount(string), 2);
  CFRelease(handedOut);
  CFRelease(string);
}

TEST(CFRef, ReplacingTheObjectReleasesThePreviousOne) {
  CFStringRef first = WatchedString("first");
  CFStringRef second = WatchedString("second");
  {
    CFRef<CFStringRef> held(first);
    held = CFRef<CFStringRef>(second);
    EXPECT_EQ(CFGetRetainCount(first), 1);
    EXPECT_EQ(CFGetRetainCount(second), 2);
    held.reset();
    EXPECT_EQ(CFGetRetainCount(second), 1);
    EXPECT_FALSE(held);
  }
  EXPECT_EQ(CFGetRetainCount(second), 1);
  CFRelease(first);
  CFRelease(second);
}
