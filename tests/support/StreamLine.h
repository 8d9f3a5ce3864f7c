#pragma once
// One line read from a PPD stream, with whether it came whole.

#include <string>

#include "foundation/PPDStream.h"

struct StreamLine {
  bool complete;
  std::string text;

  bool operator==(const StreamLine& other) const {
    return complete == other.complete && text == other.text;
  }
};

inline StreamLine NextStreamLine(PPDStream& stream) {
  char out[PPDStream::kMaxLine + 1];
  bool complete = stream.GetLine(out);
  return {complete, out};
}

// The same, read with the line left where it is when it can be.
inline StreamLine NextLineInPlace(PPDStream& stream) {
  char scratch[PPDStream::kMaxLine + 1];
  PPDStream::Line line;
  bool complete = stream.GetLine(line, scratch);
  return {complete, std::string(line.text, line.length)};
}
