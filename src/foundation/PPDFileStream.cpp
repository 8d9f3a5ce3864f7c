#include "foundation/PPDFileStream.h"

#include "carbon/MacErrors.h"
#include "carbon/MacMemory.h"
#include "foundation/PPDFile.h"

PPDFileStream::PPDFileStream(PPDFile* file, bool windowed) : mFile(file) {
  if (mFile == nullptr) return;
  long fileSize = windowed ? 0 : mFile->dataForkSize();
  if (fileSize > 0 && AllocateWindow(fileSize))
    mWindowed = false;
  else if (!AllocateWindow(kWindowSize))
    return;
  if (!Fill()) Setup(nullptr, 0);
}

PPDFileStream::~PPDFileStream() {
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

bool PPDFileStream::AllocateWindow(Size size) {
  OSErr error = noErr;
  mWindow = TempNewHandle(size, &error);
  mTemporary = mWindow != nullptr;
  if (mWindow == nullptr) mWindow = NewHandle(size);
  return mWindow != nullptr;
}

bool PPDFileStream::Fill() {
  if (mWindow == nullptr || mFile == nullptr) return false;
  if (!mFile->dataForkOpen()) {
    if (mFile->openDataFork(fsRdPerm) != noErr) {
      Setup(nullptr, 0);
      return false;
    }
    mOpenedFile = true;
  }
  unsigned long count = static_cast<unsigned long>(GetHandleSize(mWindow));
  OSErr error = mFile->dataForkRead(*mWindow, &count);
  if (error != noErr && error != eofErr) {
    Setup(nullptr, 0);
    return false;
  }
  // No more bytes: the stream stays at its end.
  if (count == 0) return false;
  Setup(*mWindow, static_cast<long>(count));
  if (mPendingLineFeed && PeekChar() == '\n') {
    char lineFeed;
    GetChar(lineFeed);
  }
  mPendingLineFeed = false;
  return true;
}

bool PPDFileStream::GetLine(char* out) {
  unsigned long stored = 0;
  for (;;) {
    if (CopyLine(out, stored)) {
      mPendingLineFeed = mWindowed && AtEnd() && LastByte() == '\r';
      return true;
    }
    // Stopped inside the window (over-long line, byte 255), or nothing more
    // to read: the line is not complete.
    if (!AtEnd() || !mWindowed || !Fill()) return false;
  }
}
