#pragma once
// A PPDStream whose bytes come from a PPD file, seen through a fixed window
// that moves on as lines are read, so that a file of any size is read in one
// pass. A file of up to kMostInMemory bytes is read into memory at once and
// the window moves over those bytes; a larger one, or one whose block cannot
// be had, is read window by window into a block of the window's size. What a
// reader sees is the same either way: tokens stop at the window's end, and
// lines go on across it.

#include "carbon/MacTypes.h"
#include "foundation/PPDStream.h"
#include "foundation/SpareBlocks.h"

class PPDFile;

class PPDFileStream : public PPDStream {
 public:
  static constexpr long kWindowSize = 10000;
  static constexpr long kMostInMemory = 16 * 1024 * 1024;

  // Opens the file for reading when it is not open and fills the window. The
  // file is not owned; it must outlive the stream. `windowed` false makes the
  // whole file one window (falling back to the window when the file is too
  // large or its block cannot be had). A file that cannot be opened or read,
  // or that is empty, makes the stream bad. A file larger than `mostInMemory`
  // bytes is read window by window.
  PPDFileStream(PPDFile* file, bool windowed, long mostInMemory = kMostInMemory);
  ~PPDFileStream() override;

  PPDFileStream(const PPDFileStream&) = delete;
  PPDFileStream& operator=(const PPDFileStream&) = delete;

  // As PPDStream::GetLine, across window refills: a line split by the window's
  // end is joined, and its length limit applies to the joined line.
  bool GetLine(char* out) override;
  // A line of a file in memory is left in place, even across the window's
  // end, and stays valid as long as the stream.
  bool GetLine(Line& line, char* scratch) override;

 private:
  // Reads the file into memory; false when it is too large, its block cannot
  // be had or it cannot be read whole.
  bool ReadIntoMemory(long fileSize);
  bool OpenFile();
  bool AllocateWindow(Size size);
  // Moves the window on to the next bytes of the file; false when none came.
  bool Fill();
  // Reads the next bytes of the file into the window's own block.
  bool ReadWindow();
  // A line ended: a carriage return that ends the window may be followed by
  // a line feed at the start of the next.
  void LineEnded() { mPendingLineFeed = mWindowed && AtEnd() && LastByte() == '\r'; }

  Handle mWindow = nullptr;
  bool mTemporary = false;
  bool mWindowed = true;
  PPDFile* mFile;
  bool mOpenedFile = false;
  // The file's bytes when it is held in memory, the window's length over
  // them, and where the next window starts.
  SpareBlocks::Block mBytes;
  std::size_t mBlockSize = 0;
  long mLength = 0;
  long mWindowLength = 0;
  long mNextWindow = 0;
  // A line ended by a carriage return at the window's end: a line feed that
  // starts the next window belongs to that line end.
  bool mPendingLineFeed = false;
};
