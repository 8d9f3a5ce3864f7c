#include "host/PostScriptLineReader.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

PostScriptLineReader::PostScriptLineReader(int fd, size_t capacity)
    : mFd(fd),
      mCapacity(capacity < kMinimumCapacity ? kMinimumCapacity : capacity) {
  mBuffer.reset(new char[mCapacity]);
}

bool PostScriptLineReader::Refill() {
  if (mAtEnd || mFailed) return false;
  if (mPosition > 0) {
    std::memmove(mBuffer.get(), mBuffer.get() + mPosition, Unread());
    // A search that ran to the old end goes on from there into the new bytes.
    mNextCR = mNextCR < mPosition ? 0 : mNextCR - mPosition;
    mNextLF = mNextLF < mPosition ? 0 : mNextLF - mPosition;
    mEnd -= mPosition;
    mPosition = 0;
  }
  for (;;) {
    ssize_t got = read(mFd, mBuffer.get() + mEnd, mCapacity - mEnd);
    if (got > 0) {
      mEnd += size_t(got);
      return true;
    }
    if (got == 0) {
      mAtEnd = true;
      return false;
    }
    if (errno != EINTR) {
      mFailed = true;
      return false;
    }
  }
}

size_t PostScriptLineReader::NextOf(char wanted, size_t& cache) {
  if (cache < mPosition) cache = mPosition;
  if (cache < mEnd && mBuffer[cache] != wanted) {
    const void* found = std::memchr(mBuffer.get() + cache, wanted, mEnd - cache);
    cache = found != nullptr ? size_t(static_cast<const char*>(found) - mBuffer.get()) : mEnd;
  }
  return cache;
}

size_t PostScriptLineReader::NextLineEnd() {
  size_t cr = NextOf('\r', mNextCR);
  size_t lf = NextOf('\n', mNextLF);
  return cr < lf ? cr : lf;
}

bool PostScriptLineReader::NextPiece(LinePiece& piece) {
  for (;;) {
    const size_t end = NextLineEnd();
    // A CR that ends the bytes read may be the first half of a CRLF.
    const bool openCR = end + 1 == mEnd && mBuffer[end] == '\r' && !mAtEnd;
    const bool complete = end < mEnd && !openCR;
    const bool full = mPosition == 0 && mEnd == mCapacity;
    if (!complete && !full && !mAtEnd) {
      // Positions move with the refill: look again.
      if (!Refill() && mFailed) return false;
      continue;
    }
    if (Unread() == 0) return false;
    piece.mText = mBuffer.get() + mPosition;
    piece.mStartsLine = !mInsideLine;
    if (!complete) {
      // A full buffer without a whole line end (more of the line follows,
      // an open CR with it), or a last line without one.
      piece.mLength = openCR ? end - mPosition : Unread();
      piece.mEndLength = 0;
      piece.mEndsLine = !full;
      mInsideLine = full;
      mPosition += piece.mLength;
      return true;
    }
    const size_t endLength =
        mBuffer[end] == '\r' && end + 1 < mEnd && mBuffer[end + 1] == '\n' ? 2 : 1;
    piece.mLength = end - mPosition;
    piece.mEndLength = endLength;
    piece.mEndsLine = true;
    mInsideLine = false;
    mPosition = end + endLength;
    return true;
  }
}

bool PostScriptLineReader::NextBytes(size_t most, const char*& bytes, size_t& length) {
  if (Unread() == 0 && !Refill()) return false;
  length = Unread() < most ? Unread() : most;
  bytes = mBuffer.get() + mPosition;
  mPosition += length;
  return length > 0;
}
