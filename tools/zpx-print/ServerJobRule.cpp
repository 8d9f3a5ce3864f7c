#include "ServerJobRule.h"

PrintFailure ServerJobRule::Check(CFDictionaryRef values) {
  CFTypeRef destination = CFDictionaryGetValue(values, CFSTR("*ZPDestination"));
  // The extension takes the choice whatever its case.
  if (destination == nullptr || CFGetTypeID(destination) != CFStringGetTypeID() ||
      CFStringCompare(static_cast<CFStringRef>(destination), CFSTR("File"),
                      kCFCompareCaseInsensitive) != kCFCompareEqualTo)
    return PrintFailure::None();
  return PrintFailure::BadInput(
      "option *ZPDestination File is refused for a job on the print server: "
      "it would write a file the job names");
}
