#pragma once
// A platform string's text in UTF-8, releasing the string; "<null>" for null.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cf/CoreFoundation.h"

inline std::string Text(CFStringRef string) {
  if (string == nullptr) return "<null>";
  std::vector<char> buffer(
      size_t(CFStringGetMaximumSizeForEncoding(CFStringGetLength(string), kCFStringEncodingUTF8)) + 1);
  EXPECT_TRUE(
      CFStringGetCString(string, buffer.data(), CFIndex(buffer.size()), kCFStringEncodingUTF8));
  CFRelease(string);
  return buffer.data();
}
