#pragma once
// A PPD file stream that counts the lines a parse takes from it.

#include "foundation/PPDFileStream.h"

namespace zpxtool {

// Counts the lines that a parse would take from the file (line ends consumed),
// including those that value readers take for continuations.
class LineCountingStream : public PPDFileStream {
 public:
  using PPDFileStream::PPDFileStream;

  bool GetLine(char* out) override {
    bool complete = PPDFileStream::GetLine(out);
    if (complete) ++mLines;
    return complete;
  }

  long Lines() const { return mLines; }

 private:
  long mLines = 0;
};

}  // namespace zpxtool
