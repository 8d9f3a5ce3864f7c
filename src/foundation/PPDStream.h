#pragma once
// A character stream over a block of PPD text that the stream does not own.
// Copies share the block.

class PPDStream {
 public:
  enum { kGood = 0, kBad = 1, kEndOfData = 2 };
  // A line read by GetLine holds at most this many bytes (plus a NUL).
  static constexpr unsigned long kMaxLine = 255;

  // Without text, or with a length that is not positive, the stream is bad.
  PPDStream();
  PPDStream(const char* text, long length);
  virtual ~PPDStream();

  // Stores -1 and returns false at the end of the data (status end of data).
  // Every byte of a document passes through here or ReadToken: both are inline.
  bool GetChar(char& c) {
    if (AtEnd()) {
      c = -1;
      mStatus = kEndOfData;
      return false;
    }
    c = *mCursor++;
    mStatus = kGood;
    return true;
  }
  // The byte at the cursor (0-255), or -1 at the end; never moves.
  int PeekChar() const { return AtEnd() ? -1 : static_cast<unsigned char>(*mCursor); }
  void SkipWhiteSpace();
  // Reads bytes up to the end of the data, a line feed, a carriage return not
  // followed by a line feed, or any byte of `delimiters` (null: none), which is
  // consumed; a carriage return before the line feed that ends the text is not
  // kept. At most `capacity` bytes are stored in `out` (not terminated), the
  // rest skipped. Returns the count stored; the status is as GetChar leaves it.
  unsigned long ReadToken(char* out, unsigned long capacity, const char* delimiters);
  // Reads one line into `out` (kMaxLine + 1 bytes), without its line end.
  // True only when the line ended with a line feed, a carriage return or both;
  // a line longer than kMaxLine, a byte 255 and data that end without a line
  // end give false, with the bytes read so far in `out`.
  virtual bool GetLine(char* out);

  long Status() const { return mStatus; }
  bool Good() const { return mStatus == kGood; }
  bool Bad() const { return mStatus == kBad; }
  bool EndOfFile() const { return mStatus == kEndOfData; }
  // Re-points the stream; without data it becomes bad and keeps its pointers.
  void Setup(const char* text, long length);

 protected:
  // Goes on with a line of which `stored` bytes are already in `out`.
  bool CopyLine(char* out, unsigned long& stored);
  bool AtEnd() const { return mCursor == mEnd; }
  // The byte before the cursor, NUL when nothing was read yet.
  char LastByte() const { return mCursor != mBegin ? mCursor[-1] : '\0'; }

 private:
  const char* mBegin = nullptr;
  const char* mEnd = nullptr;
  const char* mCursor = nullptr;
  long mStatus = kBad;
};
