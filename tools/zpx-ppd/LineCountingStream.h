#pragma once
// A PPD file stream that counts the lines a parse takes from it.

#include "foundation/PPDFileStream.h"

namespace zpxtool {

// Counts the lines that a parse would take from the file (line ends consumed),
// including those that value readers take for continuations.
class LineCountingStream : public PPDFileStream {
 public:
  using PPDFileStream::PPDFileStream;

  bool GetLine(char* out) override { return Counted(PPDFileStream::GetLine(out)); }
  bool GetLine(Line& line, char* scratch) override {
    return Counted(PPDFileStream::GetLine(line, scratch));
  }

  long Lines() const { return mLines; }

 private:
  bool Counted(bool complete) {
    if (complete) ++mLines;
    return complete;
  }

  long mLines = 0;
};

}  // namespace zpxtool
