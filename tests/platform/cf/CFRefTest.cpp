#include <gtest/gtest.h>

#include <string>
#include <type_traits>
#include <utility>

#include "cf/CFRef.h"
#include "cf/CoreFoundation.h"
#include "support/PlatformString.h"

// The suite runs under the address and leak sanitizers: a reference given back
// twice, or an object read after its last reference went, stops the test, and
// a reference never given back is reported as a leak when the test ends.

namespace {

static_assert(!std::is_copy_constructible<CFRef<CFStringRef>>::value, "one owner per reference");
static_assert(!std::is_convertible<CFRef<CFStringRef>, bool>::value, "bool only when asked");

CFStringRef NewString(const char* text) {
  return CFStringCreateWithCString(kCFAllocatorDefault, text, kCFStringEncodingUTF8);
}

}  // namespace

TEST(CFRef, ReleasesWhatItAdoptsAndKeepsWhatItRetains) {
  {
    CFRef<CFStringRef> adopted(NewString("adopted"));
    EXPECT_TRUE(adopted);
    EXPECT_EQ(TextOf(adopted.get()), "adopted");
  }

  CFStringRef borrowed = NewString("borrowed");
  {
    CFRef<CFStringRef> held = CFRef<CFStringRef>::Retain(borrowed);
    EXPECT_EQ(held.get(), borrowed);
  }
  // The holder gave back only the reference it took.
  EXPECT_EQ(TextOf(borrowed), "borrowed");
  CFRelease(borrowed);

  CFRef<CFStringRef> none(nullptr);
  EXPECT_FALSE(none);
  EXPECT_EQ(none.get(), nullptr);
  EXPECT_FALSE(CFRef<CFStringRef>::Retain(nullptr));
}

TEST(CFRef, MovingOrHandingOutPassesTheOneReferenceOn) {
  {
    CFRef<CFStringRef> first(NewString("moved once"));
    CFRef<CFStringRef> second(std::move(first));
    EXPECT_FALSE(first);
    EXPECT_EQ(TextOf(second.get()), "moved once");
  }

  CFStringRef string = NewString("handed out");
  CFStringRef handedOut;
  {
    CFRef<CFStringRef> first(string);
    CFRef<CFStringRef> second;
    second = std::move(first);
    EXPECT_FALSE(first);
    EXPECT_EQ(second.get(), string);
    handedOut = second.release();
    EXPECT_FALSE(second);
  }
  EXPECT_EQ(handedOut, string);
  EXPECT_EQ(TextOf(handedOut), "handed out");
  CFRelease(handedOut);
}

TEST(CFRef, ReplacingTheObjectReleasesThePreviousOne) {
  CFRef<CFStringRef> held(NewString("first"));
  held = CFRef<CFStringRef>(NewString("second"));
  EXPECT_EQ(TextOf(held.get()), "second");
  held.reset(NewString("third"));
  EXPECT_EQ(TextOf(held.get()), "third");
  held.reset();
  EXPECT_FALSE(held);
}
