#include <gtest/gtest.h>

#include <set>
#include <string>

#include "cf/CoreFoundation.h"

namespace {

CFStringRef makeString(const char* text) {
  return CFStringCreateWithCString(nullptr, text, kCFStringEncodingUTF8);
}

CFNumberRef makeNumber(SInt32 value) {
  return CFNumberCreate(nullptr, kCFNumberSInt32Type, &value);
}

void countEntry(const void*, const void* value, void* context) {
  SInt32 number = 0;
  CFNumberGetValue(static_cast<CFNumberRef>(value), kCFNumberSInt32Type, &number);
  *static_cast<SInt32*>(context) += number;
}

}  // namespace

TEST(CFArray, HoldsReferencesToItsValues) {
  CFStringRef first = makeString("first");
  CFStringRef second = makeString("second");
  CFMutableArrayRef array = CFArrayCreateMutable(nullptr, 0, &kCFTypeArrayCallBacks);
  CFArrayAppendValue(array, first);
  CFArrayAppendValue(array, second);
  EXPECT_EQ(CFGetRetainCount(first), 2);
  CFArrayInsertValueAtIndex(array, 0, second);
  EXPECT_EQ(CFGetRetainCount(second), 3);
  EXPECT_EQ(CFArrayGetCount(array), 3);
  EXPECT_EQ(CFArrayGetValueAtIndex(array, 1), first);
  EXPECT_EQ(CFArrayGetValueAtIndex(array, 3), nullptr);

  // Found by value, not by address.
  CFStringRef probe = makeString("first");
  EXPECT_TRUE(CFArrayContainsValue(array, CFRangeMake(0, 3), probe));
  EXPECT_EQ(CFArrayGetFirstIndexOfValue(array, CFRangeMake(0, 3), probe), 1);
  EXPECT_EQ(CFArrayGetFirstIndexOfValue(array, CFRangeMake(2, 1), probe), kCFNotFound);

  CFArraySetValueAtIndex(array, 1, probe);
  EXPECT_EQ(CFGetRetainCount(first), 1);
  EXPECT_EQ(CFGetRetainCount(probe), 2);
  CFArraySetValueAtIndex(array, 3, first);  // at the count: appends
  EXPECT_EQ(CFArrayGetCount(array), 4);
  CFArrayRemoveValueAtIndex(array, 0);
  CFArrayRemoveValueAtIndex(array, 10);
  EXPECT_EQ(CFGetRetainCount(second), 2);

  CFMutableArrayRef copy = CFArrayCreateMutableCopy(nullptr, 0, array);
  EXPECT_TRUE(CFEqual(copy, array));
  CFArrayAppendArray(copy, copy, CFRangeMake(0, 2));
  EXPECT_EQ(CFArrayGetCount(copy), 5);
  EXPECT_FALSE(CFEqual(copy, array));

  CFArrayRemoveAllValues(array);
  EXPECT_EQ(CFArrayGetCount(array), 0);
  EXPECT_EQ(CFGetRetainCount(probe), 3);  // two in the copy, one of ours
  for (CFTypeRef each :
       {CFTypeRef(copy), CFTypeRef(array), CFTypeRef(first), CFTypeRef(second), CFTypeRef(probe)})
    CFRelease(each);

  // Without callbacks the values are raw pointers, neither retained nor compared.
  static const char raw[] = "raw";
  const void* values[] = {raw, raw + 1};
  CFArrayRef plain = CFArrayCreate(nullptr, values, 2, nullptr);
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
  CFNumberRef value = makeNumber(600);
  CFDictionarySetValue(dictionary, key, value);
  EXPECT_EQ(CFGetRetainCount(key), 2);
  EXPECT_EQ(CFGetRetainCount(value), 2);

  // A key built differently finds the same entry.
  const UInt8 bytes[] = {'R', 'e', 's', 'o', 'l', 'u', 't', 'i', 'o', 'n'};
  CFStringRef sameKey =
      CFStringCreateWithBytes(nullptr, bytes, 10, kCFStringEncodingMacRoman, false);
  EXPECT_EQ(CFDictionaryGetValue(dictionary, sameKey), value);
  EXPECT_TRUE(CFDictionaryContainsKey(dictionary, CFSTR("Resolution")));
  EXPECT_FALSE(CFDictionaryContainsKey(dictionary, CFSTR("resolution")));

  CFNumberRef other = makeNumber(1200);
  CFDictionaryAddValue(dictionary, sameKey, other);  // present: unchanged
  EXPECT_EQ(CFDictionaryGetValue(dictionary, key), value);
  CFDictionarySetValue(dictionary, sameKey, other);  // replaced
  EXPECT_EQ(CFGetRetainCount(value), 1);
  const void* found = nullptr;
  EXPECT_TRUE(CFDictionaryGetValueIfPresent(dictionary, key, &found));
  EXPECT_EQ(found, other);
  EXPECT_FALSE(CFDictionaryGetValueIfPresent(dictionary, CFSTR("missing"), &found));

  CFDictionaryAddValue(dictionary, CFSTR("Copies"), value);
  SInt32 sum = 0;
  CFDictionaryApplyFunction(dictionary, countEntry, &sum);
  EXPECT_EQ(sum, 1800);
  const void* keys[2];
  const void* values[2];
  CFDictionaryGetKeysAndValues(dictionary, keys, values);
  std::set<const void*> seen(keys, keys + 2);
  EXPECT_EQ(seen.count(CFSTR("Copies")), 1u);

  CFDictionaryRef copy = CFDictionaryCreateCopy(nullptr, dictionary);
  EXPECT_TRUE(CFEqual(copy, dictionary));
  CFDictionaryRemoveValue(dictionary, CFSTR("Copies"));
  EXPECT_EQ(CFDictionaryGetCount(dictionary), 1);
  EXPECT_FALSE(CFEqual(copy, dictionary));
  EXPECT_EQ(CFGetRetainCount(value), 2);  // ours and the copy's

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
    CFNumberRef number = makeNumber(i);
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
