#pragma once
// Checks property-list input before the parser sees it: the parser recurses
// once per nesting level and expands every shared object of a binary list, so
// deep or self-multiplying input would exhaust the stack or the memory.

#include <cstddef>
#include <cstdint>

class CFPropertyListInputCheck {
 public:
  static constexpr int kMaximumDepth = 256;
  static constexpr uint64_t kMaximumObjects = 1000000;

  static bool isBinary(const uint8_t* bytes, size_t length);
  // True when the XML's arrays and dictionaries nest no deeper than the maximum.
  static bool isAcceptableXML(const uint8_t* bytes, size_t length);
  // True when the binary list is well framed, free of cycles, nests no deeper
  // than the maximum and expands to no more than the maximum of objects.
  static bool isAcceptableBinary(const uint8_t* bytes, size_t length);
};
