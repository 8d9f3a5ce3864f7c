#include <gtest/gtest.h>

#include <set>
#include <string>

#include "cf/CoreFoundation.h"

namespace {

CFStringRef makeString(const char* text) {
  return CFStringCreateWithCString(nullptr, text, kCFStringEncodingUTF8);
}

CFNumberRef makeNumber32(SInt32 value) {
  return CFNumberCreate(nullptr, kCFNumberSInt32Type, &value);
}

}  // namespace

TEST(CFArray, HoldsReferencesToItsValues) {
  CFStringRef first = makeString("first");
  CFStringRef second = makeString("second");
  CFMutableArrayRef array = CFArrayCreateMutable(nullptr, 0, &kCFTypeArrayCallBacks);
  CFArrayAppendValue(array, first);
  CFArrayAppendValue(array, second);
  CFArrayInsertValueAtIndex(array, 0, second);
  EXPECT_EQ(CFArrayGetCount(array), 3);
  EXPECT_EQ(CFArrayGetValueAtIndex(array, 1), first);
  EXPECT_EQ(CFArrayGetValueAtIndex(array, 3), nullptr);

  // Found by value, not by address.
  CFStringRef probe = makeString("first");
  EXPECT_TRUE(CFArrayContainsValue(array, CFRangeMake(0, 3), probe));
  EXPECT_EQ(CFArrayGetFirstIndexOfValue(array, CFRangeMake(0, 3), probe), 1);
  EXPECT_EQ(CFArrayGetFirstIndexOfValue(array, CFRangeMake(2, 1), probe), kCFNotFound);

  CFArraySetValueAtIndex(array, 1, probe);
  CFArraySetValueAtIndex(array, 3, first);  // at the count: appends
  EXPECT_EQ(CFArrayGetCount(array), 4);
  CFArrayRemoveValueAtIndex(array, 0);
  CFArrayRemoveValueAtIndex(array, 10);

  CFMutableArrayRef copy = CFArrayCreateMutableCopy(nullptr, 0, array);
  EXPECT_TRUE(CFEqual(copy, array));
  CFArrayAppendValue(copy, probe);
  EXPECT_EQ(CFArrayGetCount(copy), 4);
  EXPECT_FALSE(CFEqual(copy, array));

  for (CFTypeRef each :
       {CFTypeRef(copy), CFTypeRef(array), CFTypeRef(first), CFTypeRef(second), CFTypeRef(probe)})
    CFRelease(each);

  // Without callbacks the values are raw pointers, neither retained nor compared.
  static const char raw[] = "raw";
  CFMutableArrayRef built = CFArrayCreateMutable(nullptr, 0, nullptr);
  CFArrayAppendValue(built, raw);
  CFArrayAppendValue(built, raw + 1);
  CFArrayRef plain = CFArrayCreateCopy(nullptr, built);
  CFRelease(built);
  EXPECT_EQ(CFArrayGetValueAtIndex(plain, 1), raw + 1);
  EXPECT_EQ(CFArrayGetFirstIndexOfValue(plain, CFRangeMake(0, 2), raw + 1), 1);
  // An immutable array ignores mutations.
  CFArrayAppendValue(const_cast<CFMutableArrayRef>(plain), raw);
  EXPECT_EQ(CFArrayGetCount(plain), 2);
  CFRelease(plain);
}

TEST(CFDictionary, KeysMatchByValueAndOwnEntries) {
  CFMutableDictionaryRef dictionary = CFDictionaryCreateMutable(
      nullptr, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks);
  CFStringRef key = makeString("Resolution");
  CFNumberRef value = makeNumber32(600);
  CFDictionarySetValue(dictionary, key, value);

  // A key built differently finds the same entry.
  const UInt8 bytes[] = {'R', 'e', 's', 'o', 'l', 'u', 't', 'i', 'o', 'n'};
  CFStringRef sameKey =
      CFStringCreateWithBytes(nullptr, bytes, 10, kCFStringEncodingMacRoman, false);
  EXPECT_EQ(CFDictionaryGetValue(dictionary, sameKey), value);
  EXPECT_TRUE(CFDictionaryGetValueIfPresent(dictionary, CFSTR("Resolution"), nullptr));
  EXPECT_FALSE(CFDictionaryGetValueIfPresent(dictionary, CFSTR("resolution"), nullptr));

  CFNumberRef other = makeNumber32(1200);
  CFDictionarySetValue(dictionary, sameKey, other);  // replaced
  const void* found = nullptr;
  EXPECT_TRUE(CFDictionaryGetValueIfPresent(dictionary, key, &found));
  EXPECT_EQ(found, other);
  EXPECT_FALSE(CFDictionaryGetValueIfPresent(dictionary, CFSTR("missing"), &found));

  CFDictionarySetValue(dictionary, CFSTR("Copies"), value);
  const void* keys[2];
  const void* values[2];
  CFDictionaryGetKeysAndValues(dictionary, keys, values);
  std::set<const void*> seen(keys, keys + 2);
  EXPECT_EQ(seen.count(CFSTR("Copies")), 1u);

  CFDictionaryRef copy = CFDictionaryCreateCopy(nullptr, dictionary);
  EXPECT_TRUE(CFEqual(copy, dictionary));
  CFDictionarySetValue(dictionary, CFSTR("Copies"), other);
  EXPECT_EQ(CFDictionaryGetCount(dictionary), 2);
  EXPECT_FALSE(CFEqual(copy, dictionary));

  for (CFTypeRef each : {CFTypeRef(copy), CFTypeRef(dictionary), CFTypeRef(key), CFTypeRef(value),
                         CFTypeRef(sameKey), CFTypeRef(other)})
    CFRelease(each);
}

TEST(CFDictionary, CopyStringKeysAreImmuneToLaterChanges) {
  CFMutableDictionaryRef dictionary = CFDictionaryCreateMutable(
      nullptr, 0, &kCFCopyStringDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks);
  CFMutableStringRef key = CFStringCreateMutableCopy(nullptr, 0, CFSTR("Media"));
  CFDictionarySetValue(dictionary, key, kCFBooleanTrue);
  CFStringAppend(key, CFSTR("Type"));
  EXPECT_EQ(CFDictionaryGetValue(dictionary, CFSTR("Media")), kCFBooleanTrue);
  EXPECT_EQ(CFDictionaryGetValue(dictionary, key), nullptr);
  CFRelease(key);
  CFRelease(dictionary);

  // Many entries: every one is found again.
  CFMutableDictionaryRef large = CFDictionaryCreateMutable(
      nullptr, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks);
  for (SInt32 i = 0; i < 2000; ++i) {
    CFNumberRef number = makeNumber32(i);
    CFStringRef name = CFStringCreateWithFormat(nullptr, nullptr, CFSTR("key%d"), i);
    CFDictionarySetValue(large, name, number);
    CFRelease(name);
    CFRelease(number);
  }
  EXPECT_EQ(CFDictionaryGetCount(large), 2000);
  CFStringRef probe = CFStringCreateWithFormat(nullptr, nullptr, CFSTR("key%d"), 1234);
  SInt32 value = -1;
  CFNumberGetValue(static_cast<CFNumberRef>(CFDictionaryGetValue(large, probe)),
                   kCFNumberSInt32Type, &value);
  EXPECT_EQ(value, 1234);
  CFRelease(probe);
  CFRelease(large);
}
