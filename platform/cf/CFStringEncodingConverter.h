#pragma once
// Conversion between the UTF-16 text of platform strings and the bytes of a text
// encoding. The Unicode forms and ISO Latin 1 are converted here; the other legacy
// 8-bit and Japanese encodings go through the C library's iconv, except for text
// that is all ASCII in an encoding that keeps ASCII as it is.

#include <string>

#include "cf/CFString.h"

class CFStringEncodingConverter {
 public:
  struct Result {
    CFIndex unitsConverted;
    CFIndex bytesUsed;
  };

  // False when the bytes are not a valid text in the encoding. An external
  // representation may start with a byte-order mark, which is honoured and
  // dropped; without one the Unicode encoding is read big-endian.
  static bool decode(const UInt8* bytes, size_t length, CFStringEncoding encoding,
                     bool isExternalRepresentation, std::u16string& text);

  // Converts whole characters from the front of `units` until one does not fit
  // in `capacity` bytes or cannot be represented and `lossByte` is 0; a
  // non-zero loss byte stands in for each character the encoding lacks. A null
  // buffer only measures. The Unicode encoding's external representation starts
  // with a byte-order mark in this machine's order.
  static Result encode(const char16_t* units, CFIndex count, CFStringEncoding encoding,
                       UInt8 lossByte, bool isExternalRepresentation, UInt8* buffer,
                       CFIndex capacity);

  static CFIndex maximumSize(CFIndex length, CFStringEncoding encoding);
};
