#include "cf/CFTypeCallBacks.h"

#include "cf/CFStringObject.h"

const void* CFTypeRetainCallBack(CFAllocatorRef, const void* value) { return CFRetain(value); }

void CFTypeReleaseCallBack(CFAllocatorRef, const void* value) { CFRelease(value); }

Boolean CFTypeEqualCallBack(const void* value1, const void* value2) {
  return CFEqual(value1, value2);
}

CFHashCode CFTypeHashCallBack(const void* value) { return CFHash(value); }

std::u16string CFDescribeValue(const void* value, CFStringRef (*copyDescription)(const void*)) {
  CFStringRef description = copyDescription && value ? copyDescription(value) : nullptr;
  if (!description) return u"<value>";
  std::u16string text(__CFString::textOf(description));
  CFRelease(description);
  return text;
}
