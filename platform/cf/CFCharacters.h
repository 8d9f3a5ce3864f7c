#pragma once
// Character tests shared by the readers of numbers, formats, UUIDs and URLs.

inline bool CFIsASCIIDigit(unsigned character) { return character >= '0' && character <= '9'; }

// The value of a hexadecimal digit; -1 for any other character.
inline int CFHexDigitValue(unsigned character) {
  if (CFIsASCIIDigit(character)) return static_cast<int>(character - '0');
  if (character >= 'a' && character <= 'f') return static_cast<int>(character - 'a' + 10);
  if (character >= 'A' && character <= 'F') return static_cast<int>(character - 'A' + 10);
  return -1;
}
