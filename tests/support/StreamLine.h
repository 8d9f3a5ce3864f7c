#pragma once
// One line read from a PPD stream, with whether it came whole.

#include <string>

#include "foundation/PPDStream.h"

struct StreamLine {
  bool complete;
  std::string text;
};

inline StreamLine NextStreamLine(PPDStream& stream) {
  char out[PPDStream::kMaxLine + 1];
  bool complete = stream.GetLine(out);
  return {complete, out};
}
