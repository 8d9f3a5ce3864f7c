// Property lists arrive from tickets and files written by other programs. Any
// bytes, XML or binary, must be read or refused cleanly, and whatever is read
// must survive being written as XML and read back.

#include <cstddef>
#include <cstdint>

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

void CheckXMLRoundTrip(CFPropertyListRef list) {
  CFDataRef xml = CFPropertyListCreateXMLData(kCFAllocatorDefault, list);
  FUZZ_CHECK(xml != nullptr);
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
