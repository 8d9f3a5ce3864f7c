#pragma once
// Reads a PostScript document from a file descriptor in pieces of lines, in
// constant memory. A line ends in LF, CR or CRLF; each piece says which ending
// it had so that a writer can copy the document byte for byte. A line longer
// than the buffer comes in several pieces, the first of which holds at least
// its first kMinimumCapacity - 1 bytes: every DSC comment line whole.

#include <cstddef>
#include <memory>
#include <vector>

struct LinePiece {
  const char* mText = nullptr;  // valid until the next call
  size_t mLength = 0;           // without the line end
  size_t mEndLength = 0;        // 0 (none, or more of the line follows), 1 or 2
  bool mStartsLine = true;
  bool mEndsLine = true;
};

class PostScriptLineReader {
 public:
  static constexpr size_t kDefaultCapacity = 1 << 20;
  static constexpr size_t kMinimumCapacity = 256;

  explicit PostScriptLineReader(int fd, size_t capacity = kDefaultCapacity);

  // The next piece; false at the end of the input or on a read error.
  bool NextPiece(LinePiece& piece);
  // Up to `most` bytes exactly as they come, whatever they hold; false at the
  // end of the input or on a read error.
  bool NextBytes(size_t most, const char*& bytes, size_t& length);
  bool Failed() const { return mFailed; }

 private:
  // Moves what is unread to the front and reads more; false when nothing came.
  bool Refill();
  size_t Unread() const { return mEnd - mPosition; }
  // The position of the next CR or LF at or after mPosition, or mEnd.
  size_t NextLineEnd();
  size_t NextOf(char wanted, size_t& cache);

  int mFd;
  // Never zero-filled: only what was read is looked at, and a small job
  // touches only the pages it fills.
  std::unique_ptr<char[]> mBuffer;
  size_t mCapacity;
  size_t mPosition = 0;
  size_t mEnd = 0;
  // Positions of the next CR and LF found, mEnd when there is none before it:
  // each byte is searched once.
  size_t mNextCR = 0;
  size_t mNextLF = 0;
  bool mAtEnd = false;
  bool mFailed = false;
  bool mInsideLine = false;
};
