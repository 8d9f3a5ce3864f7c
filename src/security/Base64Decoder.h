#pragma once
// Base64 decoding of untrusted text. Characters outside the alphabet are skipped and
// the first "=" ends the input; a partial group carries over to the next Decode.

#include <cstddef>
#include <cstdint>

class Base64Decoder {
 public:
  Base64Decoder();

  // The most bytes a text of length characters can decode to, whatever came before.
  static size_t MaxDecodedLength(size_t length);

  // Decodes into out, writing at most capacity bytes: decoding stops when out is full.
  // Returns the number of bytes written.
  size_t Decode(const char* text, size_t length, unsigned char* out, size_t capacity);

 private:
  uint32_t mBits;      // pending bits, the newest in the low end
  unsigned mBitCount;  // how many of mBits are pending (0, 2, 4 or 6 between characters)
  bool mEnded;         // an "=" was seen
};
