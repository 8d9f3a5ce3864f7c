#pragma once
// A character stream over a block of PPD text that the stream does not own.
// Copies share the block.

#include "foundation/TokenDelimiters.h"

class PPDStream {
 public:
  enum { kGood = 0, kBad = 1, kEndOfData = 2 };
  // A line read by GetLine holds at most this many bytes (plus a NUL).
  static constexpr unsigned long kMaxLine = 255;

  // A line as GetLine(Line&, char*) gives it: its bytes up to the first NUL
  // (what GetLine(char*) leaves in `out` as a C string), not terminated.
  struct Line {
    const char* text = "";
    unsigned long length = 0;
  };

  // Without text, or with a length that is not positive, the stream is bad.
  PPDStream();
  PPDStream(const char* text, long length);
  explicit PPDStream(const Line& line);
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
  unsigned long ReadToken(char* out, unsigned long capacity, const TokenDelimiters& delimiters);
  // The next word of a line read by GetLine (which holds no line end), left in
  // place: after the spaces and tabs at the cursor, the bytes up to a space, a
  // tab or the end of the data (at most kMaxLine of them); the space or tab
  // after it is consumed. Empty at the end of the line.
  Line NextWord();
  // What stopped CopyUntil besides a byte: the end of the data, a full `out`.
  static constexpr int kStoppedAtEnd = -1;
  static constexpr int kStoppedFull = -2;
  // Copies bytes to `out` + stored (null: skips them) up to the first line end
  // or byte of `stops`, which is consumed and returned (0-255), or until
  // `capacity` bytes are stored (kStoppedFull; the next byte stays unread), or
  // to the end of the data (kStoppedAtEnd). The status is as GetChar leaves it.
  int CopyUntil(char* out, unsigned long& stored, unsigned long capacity,
                const TokenDelimiters& stops);
  // Reads one line into `out` (kMaxLine + 1 bytes), without its line end.
  // True only when the line ended with a line feed, a carriage return or both;
  // a line longer than kMaxLine, a byte 255 and data that end without a line
  // end give false, with the bytes read so far in `out`.
  virtual bool GetLine(char* out);
  // As GetLine(out), but the line is left where it is in the data when it lies
  // there whole, and stays valid as long as the data; otherwise it is copied
  // to `scratch` (kMaxLine + 1 bytes), valid until `scratch` is reused.
  virtual bool GetLine(Line& line, char* scratch);

  long Status() const { return mStatus; }
  bool Good() const { return mStatus == kGood; }
  bool Bad() const { return mStatus == kBad; }
  bool EndOfFile() const { return mStatus == kEndOfData; }
  // Re-points the stream; without data it becomes bad and keeps its pointers.
  void Setup(const char* text, long length);

 protected:
  // Goes on with a line of which `stored` bytes are already taken, copying its
  // bytes to `out` + stored when `out` is not null.
  bool CopyLine(char* out, unsigned long& stored);
  bool AtEnd() const { return mCursor == mEnd; }
  const char* Cursor() const { return mCursor; }
  // The byte before the cursor, NUL when nothing was read yet.
  char LastByte() const { return mCursor != mBegin ? mCursor[-1] : '\0'; }

 private:
  const char* mBegin = nullptr;
  const char* mEnd = nullptr;
  const char* mCursor = nullptr;
  long mStatus = kBad;
};
