// Property lists arrive from tickets and files written by other programs. Any
// bytes, XML or binary, must be read or refused cleanly, and whatever is read
// must survive being written as XML and read back. The one thing XML cannot
// carry is a text holding a NUL character: such a tree must be refused, never
// written cut short.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "FuzzCheck.h"
#include "cf/CoreFoundation.h"

namespace {

// Reads a property list, releasing the fault description that comes with a refusal.
CFPropertyListRef Read(CFDataRef data) {
  CFStringRef error = nullptr;
  CFPropertyListRef list =
      CFPropertyListCreateFromXMLData(kCFAllocatorDefault, data, kCFPropertyListImmutable, &error);
  FUZZ_CHECK((list == nullptr) == (error != nullptr));
  if (error != nullptr) CFRelease(error);
  return list;
}

bool HoldsTextWithNul(CFPropertyListRef value) {
  const CFTypeID type = CFGetTypeID(value);
  if (type == CFStringGetTypeID()) {
    auto text = static_cast<CFStringRef>(value);
    for (CFIndex i = 0; i < CFStringGetLength(text); ++i)
      if (CFStringGetCharacterAtIndex(text, i) == 0) return true;
    return false;
  }
  if (type == CFArrayGetTypeID()) {
    auto array = static_cast<CFArrayRef>(value);
    for (CFIndex i = 0; i < CFArrayGetCount(array); ++i)
      if (HoldsTextWithNul(CFArrayGetValueAtIndex(array, i))) return true;
    return false;
  }
  if (type == CFDictionaryGetTypeID()) {
    auto dictionary = static_cast<CFDictionaryRef>(value);
    const size_t count = size_t(CFDictionaryGetCount(dictionary));
    std::vector<const void*> keys(count), values(count);
    CFDictionaryGetKeysAndValues(dictionary, keys.data(), values.data());
    for (size_t i = 0; i < count; ++i)
      if (HoldsTextWithNul(keys[i]) || HoldsTextWithNul(values[i])) return true;
  }
  return false;
}

void CheckXMLRoundTrip(CFPropertyListRef list) {
  CFDataRef xml = CFPropertyListCreateXMLData(kCFAllocatorDefault, list);
  FUZZ_CHECK((xml == nullptr) == HoldsTextWithNul(list));
  if (xml == nullptr) return;
  CFPropertyListRef again = Read(xml);
  FUZZ_CHECK(again != nullptr);
  FUZZ_CHECK(CFEqual(list, again));
  CFRelease(again);
  CFRelease(xml);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  CFDataRef data = CFDataCreate(kCFAllocatorDefault, bytes, CFIndex(size));
  CFPropertyListRef list = Read(data);
  if (list != nullptr) {
    CheckXMLRoundTrip(list);
    CFRelease(list);
  }
  CFRelease(data);
  return 0;
}
