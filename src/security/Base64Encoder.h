#pragma once
// Base64 encoding with the standard alphabet and "=" fill.

#include <cstddef>

class Base64Encoder {
 public:
  // The number of characters Encode writes for length bytes.
  static size_t EncodedLength(size_t length, bool lineBreaks);

  // Writes the text (no terminator) into out, which holds EncodedLength characters;
  // with lineBreaks a line feed follows every 64 characters. Returns the count.
  static size_t Encode(const unsigned char* bytes, size_t length, char* out, bool lineBreaks);
};
