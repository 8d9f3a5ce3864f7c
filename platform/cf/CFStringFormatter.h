#pragma once
// The printf-style formatting of platform strings: the C conversions with their
// flags, width, precision and length modifiers, and "%@" for the description
// of a platform object.

#include <cstdarg>
#include <string>

class CFStringFormatter {
 public:
  static std::u16string format(std::u16string_view format, va_list arguments);
};
