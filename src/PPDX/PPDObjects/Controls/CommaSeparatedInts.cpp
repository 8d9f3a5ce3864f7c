#include "PPDX/PPDObjects/Controls/CommaSeparatedInts.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>

#include "foundation/ZPXAssert.h"

namespace {

// The integer a piece begins with, held to the range of an int as the controller
// reads it (out-of-range pieces must not overflow).
long PieceValue(const char* piece) {
  const long value = std::strtol(piece, nullptr, 10);
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return value;
}

void AppendRun(std::string& out, long first, long last) {
  out += std::to_string(first);
  if (last != first) (out += '-') += std::to_string(last);
  out += ',';
}

}  // namespace

void CompressCommaSeparatedListOfInts(char* list) {
  if (list == nullptr) return;
  const size_t length = std::strlen(list);
  std::string compressed;
  bool inRun = false;
  long first = 0, last = 0;
  for (size_t start = 0; start < length;) {
    const size_t end = start + std::strcspn(list + start, ",");
    // strtol stops at the comma, so a piece is read in place.
    if (end > start) {
      const long value = PieceValue(list + start);
      if (inRun && value == last + 1) {
        last = value;
      } else {
        if (inRun) AppendRun(compressed, first, last);
        first = last = value;
        inRun = true;
      }
    }
    start = end + 1;
  }
  if (inRun) AppendRun(compressed, first, last);
  if (!compressed.empty()) compressed.pop_back();
  // Each number prints in no more characters than its piece, each separator in one.
  ZPX_ASSERT(compressed.size() <= length);
  std::memcpy(list, compressed.c_str(), compressed.size() + 1);
}
