#include "plugin/TextBuffer.h"

#include <cstring>

long CopyTextCut(CFStringRef text, CFStringEncoding encoding, char* buffer, long size) {
  if (buffer == nullptr || size <= 0) return -1;
  buffer[0] = '\0';
  if (text == nullptr) return -1;
  CFIndex length = CFStringGetLength(text);
  CFRange whole = CFRangeMake(0, length);
  // Converting without a buffer tells a character that cannot be carried
  // apart from a buffer that is too small.
  if (CFStringGetBytes(text, whole, encoding, 0, false, nullptr, 0, nullptr) < length) return -1;
  CFIndex used = 0;
  CFStringGetBytes(text, whole, encoding, 0, false, reinterpret_cast<UInt8*>(buffer), size - 1,
                   &used);
  buffer[used] = '\0';
  return long(used);
}

long EncodedLength(CFStringRef text, CFStringEncoding encoding) {
  if (text == nullptr) return 0;
  CFIndex used = 0;
  CFStringGetBytes(text, CFRangeMake(0, CFStringGetLength(text)), encoding, 0, false, nullptr, 0,
                   &used);
  return long(used);
}

bool CopyTextWhole(const char* text, char* buffer, size_t size) {
  if (text == nullptr || buffer == nullptr) return false;
  size_t length = strnlen(text, size);
  if (length == size) return false;
  std::memcpy(buffer, text, length + 1);
  return true;
}

std::string EncodedText(CFStringRef text, CFStringEncoding encoding) {
  std::string bytes(size_t(EncodedLength(text, encoding)), '\0');
  if (bytes.empty()) return bytes;
  CFIndex length = CFStringGetLength(text);
  CFIndex used = 0;
  if (CFStringGetBytes(text, CFRangeMake(0, length), encoding, 0, false,
                       reinterpret_cast<UInt8*>(&bytes[0]), CFIndex(bytes.size()), &used) < length)
    return std::string();
  bytes.resize(size_t(used));
  return bytes;
}
