#include "security/Base64Decoder.h"

#include <array>

#include "security/Base64Alphabet.h"

namespace {

constexpr int kNotInAlphabet = -1;

constexpr std::array<signed char, 256> MakeValues() {
  std::array<signed char, 256> values{};
  for (auto& value : values) value = kNotInAlphabet;
  for (int i = 0; i < 64; ++i) values[static_cast<unsigned char>(kBase64Alphabet[i])] = char(i);
  return values;
}

constexpr std::array<signed char, 256> kValues = MakeValues();

}  // namespace

Base64Decoder::Base64Decoder() : mBits(0), mBitCount(0), mEnded(false) {}

size_t Base64Decoder::MaxDecodedLength(size_t length) {
  // Up to 7 pending bits plus 6 per character.
  return (length * 6 + 7) / 8;
}

size_t Base64Decoder::Decode(const char* text, size_t length, unsigned char* out, size_t capacity) {
  size_t written = 0;
  for (size_t i = 0; i < length && !mEnded && written < capacity; ++i) {
    if (text[i] == '=') {
      mEnded = true;
      break;
    }
    const int value = kValues[static_cast<unsigned char>(text[i])];
    if (value == kNotInAlphabet) continue;
    mBits = (mBits << 6) | unsigned(value);
    mBitCount += 6;
    if (mBitCount >= 8) {
      mBitCount -= 8;
      out[written++] = static_cast<unsigned char>(mBits >> mBitCount);
      mBits &= (1u << mBitCount) - 1;
    }
  }
  return written;
}
