#include "foundation/PPDFileStream.h"

#include <cstring>
#include <utility>

#include "carbon/MacErrors.h"
#include "carbon/MacMemory.h"
#include "foundation/PPDFile.h"

namespace {

// A file's block is kept for the next document; sizes are rounded up so that
// files of about the same size share their blocks.
constexpr std::size_t kBlockRounding = 64 * 1024;

}  // namespace

PPDFileStream::PPDFileStream(PPDFile* file, bool windowed, long mostInMemory) : mFile(file) {
  if (mFile == nullptr || !OpenFile()) return;
  const long fileSize = mFile->dataForkSize();
  if (fileSize > 0 && fileSize <= mostInMemory) {
    mBlockSize = (std::size_t(fileSize) + kBlockRounding - 1) / kBlockRounding * kBlockRounding;
    mBytes = SpareBlocks::TryTake(mBlockSize);
  }
  if (mBytes) {
    if (!ReadIntoMemory(fileSize)) return;
    mWindowed = windowed;
    mWindowLength = windowed ? kWindowSize : mLength;
  } else if (!AllocateWindow(kWindowSize)) {
    return;
  }
  if (!Fill()) Setup(nullptr, 0);
}

PPDFileStream::~PPDFileStream() {
  SpareBlocks::Give(std::move(mBytes), mBlockSize);
  if (mWindow != nullptr) {
    if (mTemporary) {
      OSErr ignored;
      TempDisposeHandle(mWindow, &ignored);
    } else {
      DisposeHandle(mWindow);
    }
  }
  if (mOpenedFile) mFile->closeDataFork();
}

bool PPDFileStream::OpenFile() {
  if (mFile->dataForkOpen()) return true;
  if (mFile->openDataFork(fsRdPerm) != noErr) return false;
  mOpenedFile = true;
  return true;
}

bool PPDFileStream::ReadIntoMemory(long fileSize) {
  unsigned long count = static_cast<unsigned long>(fileSize);
  OSErr error = mFile->dataForkRead(reinterpret_cast<char*>(mBytes.get()), &count);
  if (error != noErr && error != eofErr) return false;
  mLength = static_cast<long>(count);
  return true;
}

bool PPDFileStream::AllocateWindow(Size size) {
  OSErr error = noErr;
  mWindow = TempNewHandle(size, &error);
  mTemporary = mWindow != nullptr;
  if (mWindow == nullptr) mWindow = NewHandle(size);
  return mWindow != nullptr;
}

bool PPDFileStream::Fill() {
  if (mBytes) {
    // No more bytes: the stream stays at its end.
    if (mNextWindow == mLength) return false;
    const long count =
        mLength - mNextWindow < mWindowLength ? mLength - mNextWindow : mWindowLength;
    Setup(reinterpret_cast<const char*>(mBytes.get()) + mNextWindow, count);
    mNextWindow += count;
  } else if (!ReadWindow()) {
    return false;
  }
  if (mPendingLineFeed && PeekChar() == '\n') {
    char lineFeed;
    GetChar(lineFeed);
  }
  mPendingLineFeed = false;
  return true;
}

bool PPDFileStream::ReadWindow() {
  if (mWindow == nullptr) return false;
  unsigned long count = static_cast<unsigned long>(GetHandleSize(mWindow));
  OSErr error = mFile->dataForkRead(*mWindow, &count);
  if (error != noErr && error != eofErr) {
    Setup(nullptr, 0);
    return false;
  }
  if (count == 0) return false;
  Setup(*mWindow, static_cast<long>(count));
  return true;
}

bool PPDFileStream::GetLine(char* out) {
  unsigned long stored = 0;
  for (;;) {
    if (CopyLine(out, stored)) {
      LineEnded();
      return true;
    }
    // Stopped inside the window (over-long line, byte 255), or nothing more
    // to read: the line is not complete.
    if (!AtEnd() || !mWindowed || !Fill()) return false;
  }
}

bool PPDFileStream::GetLine(Line& line, char* scratch) {
  if (!mBytes) {
    const bool complete = PPDFileStream::GetLine(scratch);
    line = Line{scratch, std::strlen(scratch)};
    return complete;
  }
  // The windows lie one after the other in memory: a line across their
  // boundary is whole where it is. A refill before the line's first byte may
  // pass a line feed, so the line starts where its first byte is taken.
  const char* start = nullptr;
  unsigned long stored = 0;
  bool complete = false;
  for (;;) {
    if (stored == 0) start = Cursor();
    if (CopyLine(nullptr, stored)) {
      LineEnded();
      complete = true;
      break;
    }
    if (!AtEnd() || !mWindowed || !Fill()) break;
  }
  line = stored > 0 ? Line{start, strnlen(start, stored)} : Line{};
  return complete;
}
