#include "security/Base64Encoder.h"

#include "security/Base64Alphabet.h"

namespace {

constexpr size_t kLineLength = 64;

}  // namespace

size_t Base64Encoder::EncodedLength(size_t length, bool lineBreaks) {
  const size_t characters = (length + 2) / 3 * 4;
  return lineBreaks ? characters + characters / kLineLength : characters;
}

size_t Base64Encoder::Encode(const unsigned char* bytes, size_t length, char* out,
                             bool lineBreaks) {
  size_t written = 0;
  size_t lineUsed = 0;
  auto put = [&](char c) {
    out[written++] = c;
    if (lineBreaks && ++lineUsed == kLineLength) {
      out[written++] = '\n';
      lineUsed = 0;
    }
  };
  for (size_t i = 0; i < length; i += 3) {
    const size_t available = length - i < 3 ? length - i : 3;
    unsigned long group = static_cast<unsigned long>(bytes[i]) << 16;
    if (available > 1) group |= static_cast<unsigned long>(bytes[i + 1]) << 8;
    if (available > 2) group |= bytes[i + 2];
    for (size_t c = 0; c < 4; ++c)
      put(c <= available ? kBase64Alphabet[(group >> (18 - 6 * c)) & 63] : '=');
  }
  return written;
}
