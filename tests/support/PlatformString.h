#pragma once
// Platform strings to and from UTF-8 text, and platform data to and from bytes. No test framework
// here: the benchmarks and fuzz targets read strings through it too.

#include <string>
#include <vector>

#include "cf/CFText.h"
#include "cf/CoreFoundation.h"

// The string's text in UTF-8; "<null>" for null, "<unconvertible>" for a
// string that has no UTF-8 form.
inline std::string TextOf(CFStringRef string) {
  if (string == nullptr) return "<null>";
  std::vector<char> buffer(
      size_t(CFStringGetMaximumSizeForEncoding(CFStringGetLength(string), kCFStringEncodingUTF8)) +
      1);
  if (!CFStringGetCString(string, buffer.data(), CFIndex(buffer.size()), kCFStringEncodingUTF8))
    return "<unconvertible>";
  return buffer.data();
}

// The text of a string the caller was handed, releasing the string.
inline std::string TakeText(CFStringRef string) {
  std::string text = TextOf(string);
  if (string != nullptr) CFRelease(string);
  return text;
}

// A new platform data object of the bytes; the caller releases it.
inline CFDataRef CreateData(const std::string& bytes) {
  return CFDataCreate(kCFAllocatorDefault, reinterpret_cast<const UInt8*>(bytes.data()),
                      CFIndex(bytes.size()));
}

// The bytes of a platform data object; "<null>" for null.
inline std::string DataText(CFDataRef data) {
  if (data == nullptr) return "<null>";
  return std::string(reinterpret_cast<const char*>(CFDataGetBytePtr(data)),
                     size_t(CFDataGetLength(data)));
}
