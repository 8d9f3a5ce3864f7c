#include "foundation/NumberConversions.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

void num2String(long number, char* buffer) {
  std::snprintf(buffer, kNumberTextSize, "%ld", number);
}

void float2String(double number, char* buffer) {
  std::snprintf(buffer, kNumberTextSize, "%9.4f", number);
}

int wtoi(const wchar_t* text) {
  if (text == nullptr) return 0;
  // Longer texts than this hold a number that saturates anyway.
  char bytes[64] = {};
  if (std::wcstombs(bytes, text, sizeof bytes - 1) == static_cast<size_t>(-1)) return 0;
  long value = std::strtol(bytes, nullptr, 10);
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

void ctoPStr(const char* text, unsigned char* lengthPrefixed) {
  size_t length = text != nullptr ? std::strlen(text) : 0;
  if (length > kLengthPrefixedSize - 1) length = kLengthPrefixedSize - 1;
  lengthPrefixed[0] = static_cast<unsigned char>(length);
  if (length > 0) std::memcpy(lengthPrefixed + 1, text, length);
}

void ptoCStr(const unsigned char* lengthPrefixed, char* text) {
  size_t length = lengthPrefixed[0];
  std::memcpy(text, lengthPrefixed + 1, length);
  text[length] = '\0';
}
