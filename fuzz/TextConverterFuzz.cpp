// PPD text in every encoding a PPD may declare: read as a translation into a
// platform string, and converted in place to and from the system's encoding as
// job notes are. Whatever the bytes (hex substrings, broken ones, bytes no
// character set has, no terminator at all), the converter reads and writes only
// within the capacity it is given, and a conversion that succeeds leaves the text
// terminated within it.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "FuzzCheck.h"
#include "ZPXUtils/PPDUtils/TextConverter.h"
#include "cf/CoreFoundation.h"

namespace {

const char* const kDeclaredEncodings[] = {"ISOLatin1",   "ISOLatin2",   "ISOLatin5", "JIS83-RKSJ",
                                          "MacStandard", "WindowsANSI", "UTF-8",     "Unknown"};

// The text in a block of exactly its length plus `slack` bytes, the slack zeroed:
// with no slack it has no terminator.
void ConvertInPlace(unsigned long source, unsigned long output, const std::string& text,
                    size_t slack) {
  const size_t capacity = text.size() + slack;
  if (capacity == 0) return;
  TextConverter converter(source, output);
  std::unique_ptr<char[]> block(new char[capacity]());
  std::memcpy(block.get(), text.data(), text.size());
  if (converter.Convert(block.get(), long(capacity)) == 0)
    FUZZ_CHECK(std::memchr(block.get(), '\0', capacity) != nullptr);
}

void ReadAsTranslation(unsigned long source, unsigned long output, const std::string& text) {
  TextConverter converter(source, output);
  CFStringRef string = converter.ConvertToCFString(text.c_str(), long(text.size()));
  FUZZ_CHECK(string != nullptr);
  CFRelease(string);
}

}  // namespace

// The first byte gives the slack of the in-place conversions; the rest is the text.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  if (size == 0) return 0;
  const size_t slack = bytes[0] % 32;
  const std::string text(reinterpret_cast<const char*>(bytes) + 1, size - 1);
  unsigned long system = TextConverter::GetCurrentEncoding();
  for (const char* name : kDeclaredEncodings) {
    unsigned long declared = TextConverter::LanguageStringToEncoding(name);
    ReadAsTranslation(declared, system, text);
    ConvertInPlace(declared, system, text, slack);
    ConvertInPlace(system, declared, text, slack);
  }
  return 0;
}
