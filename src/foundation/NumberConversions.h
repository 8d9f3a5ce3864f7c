#pragma once
// Numbers and short texts in the forms the pane's fields and the toolkit's
// length-prefixed titles use. Every result stays inside its buffer.

#include <cstddef>

enum : size_t {
  kNumberTextSize = 32,      // num2String and float2String buffers
  kLengthPrefixedSize = 256  // one length byte and at most 255 bytes
};

// "%d" into a kNumberTextSize buffer.
void num2String(long number, char* buffer);
// "%9.4f" into a kNumberTextSize buffer; a number too wide is cut to fit.
void float2String(double number, char* buffer);
// The wide text read as a decimal integer the way atoi reads it; a number
// beyond the int range saturates, a text that cannot be converted gives 0.
int wtoi(const wchar_t* text);
// The text as one length byte and its bytes; a text longer than 255 bytes
// keeps its first 255. `lengthPrefixed` holds kLengthPrefixedSize bytes.
void ctoPStr(const char* text, unsigned char* lengthPrefixed);
// The length-prefixed text NUL-terminated into kLengthPrefixedSize bytes.
void ptoCStr(const unsigned char* lengthPrefixed, char* text);
