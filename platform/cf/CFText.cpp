#include "cf/CFText.h"

CFStringRef CreateText(const std::string& utf8) {
  return CFStringCreateWithCString(kCFAllocatorDefault, utf8.c_str(), kCFStringEncodingUTF8);
}

size_t UTF8BoundaryCut(const std::string& utf8, size_t limit) {
  if (utf8.size() <= limit) return utf8.size();
  size_t cut = limit;
  while (cut > 0 && (static_cast<unsigned char>(utf8[cut]) & 0xC0) == 0x80) --cut;
  return cut;
}
