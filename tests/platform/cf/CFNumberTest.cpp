#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

#include "cf/CoreFoundation.h"
#include "support/PlatformString.h"

namespace {

std::string describe(CFTypeRef object) { return TakeText(CFCopyDescription(object)); }

}  // namespace

TEST(CFNumber, EqualValuesOfDifferentTypesAreEqual) {
  int intValue = 42;
  long longValue = 42;
  double doubleValue = 42.0;
  double fraction = 42.5;
  CFNumberRef fromInt = CFNumberCreate(nullptr, kCFNumberIntType, &intValue);
  CFNumberRef fromLong = CFNumberCreate(nullptr, kCFNumberLongType, &longValue);
  CFNumberRef fromDouble = CFNumberCreate(nullptr, kCFNumberDoubleType, &doubleValue);
  CFNumberRef fromFraction = CFNumberCreate(nullptr, kCFNumberDoubleType, &fraction);
  EXPECT_TRUE(CFEqual(fromInt, fromLong));
  EXPECT_EQ(CFHash(fromInt), CFHash(fromLong));
  EXPECT_TRUE(CFEqual(fromInt, fromDouble));
  EXPECT_EQ(CFHash(fromInt), CFHash(fromDouble));
  EXPECT_FALSE(CFEqual(fromInt, fromFraction));
  EXPECT_EQ(CFNumberCompare(fromFraction, fromInt, nullptr), kCFCompareGreaterThan);
  EXPECT_FALSE(CFNumberIsFloatType(fromLong));
  EXPECT_TRUE(CFNumberIsFloatType(fromDouble));
  EXPECT_EQ(describe(fromInt), "42");
  EXPECT_EQ(describe(fromFraction), "42.5");
  EXPECT_FALSE(CFEqual(fromInt, kCFBooleanTrue));
  for (CFNumberRef each : {fromInt, fromLong, fromDouble, fromFraction}) CFRelease(each);
}

TEST(CFNumber, ConversionsReportLoss) {
  SInt64 big = 300;
  CFNumberRef number = CFNumberCreate(nullptr, kCFNumberSInt64Type, &big);
  SInt8 small = 0;
  EXPECT_FALSE(CFNumberGetValue(number, kCFNumberSInt8Type, &small));
  EXPECT_EQ(small, SCHAR_MAX);
  SInt16 medium = 0;
  EXPECT_TRUE(CFNumberGetValue(number, kCFNumberShortType, &medium));
  EXPECT_EQ(medium, 300);
  float single = 0;
  EXPECT_TRUE(CFNumberGetValue(number, kCFNumberFloatType, &single));
  EXPECT_EQ(single, 300.0f);
  CFRelease(number);

  double real = -2.75;
  number = CFNumberCreate(nullptr, kCFNumberFloat64Type, &real);
  int whole = 0;
  EXPECT_FALSE(CFNumberGetValue(number, kCFNumberIntType, &whole));
  EXPECT_EQ(whole, -2);
  EXPECT_TRUE(CFNumberGetValue(number, kCFNumberFloat32Type, &single));
  EXPECT_EQ(single, -2.75f);
  CFRelease(number);

  real = 0.1;
  number = CFNumberCreate(nullptr, kCFNumberDoubleType, &real);
  EXPECT_FALSE(CFNumberGetValue(number, kCFNumberFloatType, &single));
  CFRelease(number);

  SInt64 precise = (SInt64(1) << 53) + 1;
  number = CFNumberCreate(nullptr, kCFNumberLongLongType, &precise);
  double asDouble = 0;
  EXPECT_FALSE(CFNumberGetValue(number, kCFNumberDoubleType, &asDouble));
  CFIndex asIndex = 0;
  EXPECT_TRUE(CFNumberGetValue(number, kCFNumberCFIndexType, &asIndex));
  EXPECT_EQ(asIndex, precise);
  CFRelease(number);

  EXPECT_EQ(CFNumberCreate(nullptr, 99, &precise), nullptr);
}

TEST(CFBoolean, ConstantsSurviveReleases) {
  EXPECT_TRUE(CFBooleanGetValue(kCFBooleanTrue));
  EXPECT_FALSE(CFBooleanGetValue(kCFBooleanFalse));
  EXPECT_EQ(CFGetTypeID(kCFBooleanTrue), CFBooleanGetTypeID());
  CFRelease(kCFBooleanTrue);
  CFRelease(kCFBooleanTrue);
  EXPECT_TRUE(CFBooleanGetValue(kCFBooleanTrue));
  EXPECT_FALSE(CFEqual(kCFBooleanTrue, kCFBooleanFalse));
}

TEST(CFUUID, TextAndBytesRoundTrip) {
  CFUUIDRef uuid = CFUUIDCreateFromString(nullptr, CFSTR("a1b2c3d4-0001-4F00-8abc-DEF012345678"));
  ASSERT_NE(uuid, nullptr);
  EXPECT_EQ(TakeText(CFUUIDCreateString(nullptr, uuid)), "A1B2C3D4-0001-4F00-8ABC-DEF012345678");
  CFUUIDBytes bytes = {0xA1, 0xB2, 0xC3, 0xD4, 0,    1,    0x4F, 0,
                       0x8A, 0xBC, 0xDE, 0xF0, 0x12, 0x34, 0x56, 0x78};
  CFUUIDRef again = CFUUIDCreateFromUUIDBytes(nullptr, bytes);
  EXPECT_TRUE(CFEqual(again, uuid));
  EXPECT_EQ(CFHash(again), CFHash(uuid));
  const CFUUIDBytes back = CFUUIDGetUUIDBytes(uuid);
  EXPECT_EQ(std::memcmp(&back, &bytes, sizeof bytes), 0);
  const CFUUIDBytes none = CFUUIDGetUUIDBytes(nullptr);
  EXPECT_EQ(none.byte0 | none.byte7 | none.byte15, 0);

  CFUUIDRef constant =
      CFUUIDGetConstantUUIDWithBytes(nullptr, 0xA1, 0xB2, 0xC3, 0xD4, 0, 1, 0x4F, 0, 0x8A, 0xBC,
                                     0xDE, 0xF0, 0x12, 0x34, 0x56, 0x78);
  EXPECT_TRUE(CFEqual(constant, uuid));
  EXPECT_EQ(constant,
            CFUUIDGetConstantUUIDWithBytes(nullptr, 0xA1, 0xB2, 0xC3, 0xD4, 0, 1, 0x4F, 0, 0x8A,
                                           0xBC, 0xDE, 0xF0, 0x12, 0x34, 0x56, 0x78));

  CFUUIDRef random1 = CFUUIDCreate(nullptr);
  CFUUIDRef random2 = CFUUIDCreate(nullptr);
  EXPECT_FALSE(CFEqual(random1, random2));
  CFStringRef randomText = CFUUIDCreateString(nullptr, random1);
  EXPECT_EQ(CFStringGetCharacterAtIndex(randomText, 14), '4');  // the version digit
  CFRelease(randomText);

  for (const char* invalid :
       {"A1B2C3D4-0001-4F00-8ABC-DEF01234567", "A1B2C3D4x0001-4F00-8ABC-DEF012345678",
        "G1B2C3D4-0001-4F00-8ABC-DEF012345678"}) {
    CFStringRef candidate = CFStringCreateWithCString(nullptr, invalid, kCFStringEncodingASCII);
    EXPECT_EQ(CFUUIDCreateFromString(nullptr, candidate), nullptr) << invalid;
    CFRelease(candidate);
  }
  for (CFTypeRef each : {CFTypeRef(uuid), CFTypeRef(again), CFTypeRef(random1), CFTypeRef(random2)})
    CFRelease(each);
}
