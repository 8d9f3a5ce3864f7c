#include "foundation/HexText.h"

std::string UpperHex(const unsigned char* bytes, size_t length) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string hex;
  hex.reserve(2 * length);
  for (size_t i = 0; i < length; ++i) {
    hex += kDigits[bytes[i] >> 4];
    hex += kDigits[bytes[i] & 0x0F];
  }
  return hex;
}
