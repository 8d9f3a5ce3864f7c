#pragma once
// A PPDStream whose bytes come from a PPD file, read through a fixed window
// that is refilled as lines are read, so that a file of any size is read in
// one pass with bounded memory.

#include "carbon/MacTypes.h"
#include "foundation/PPDStream.h"

class PPDFile;

class PPDFileStream : public PPDStream {
 public:
  static constexpr long kWindowSize = 10000;

  // Opens the file for reading when it is not open and fills the window. The
  // file is not owned; it must outlive the stream. `windowed` false asks for
  // the whole file in one block (falling back to the window when that block
  // cannot be had). A file that cannot be opened or read, or that is empty,
  // makes the stream bad.
  PPDFileStream(PPDFile* file, bool windowed);
  ~PPDFileStream() override;

  PPDFileStream(const PPDFileStream&) = delete;
  PPDFileStream& operator=(const PPDFileStream&) = delete;

  // As PPDStream::GetLine, across window refills: a line split by the window's
  // end is joined, and its length limit applies to the joined line.
  bool GetLine(char* out) override;

  bool Windowed() const { return mWindowed; }

 private:
  bool AllocateWindow(Size size);
  // Reads the next bytes of the file into the window; false when none came.
  bool Fill();

  Handle mWindow = nullptr;
  bool mTemporary = false;
  bool mWindowed = true;
  PPDFile* mFile;
  bool mOpenedFile = false;
  // A line ended by a carriage return at the window's end: a line feed that
  // starts the next window belongs to that line end.
  bool mPendingLineFeed = false;
};
