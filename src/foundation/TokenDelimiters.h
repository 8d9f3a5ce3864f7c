#pragma once
// The bytes that end a token of PPD text: the line ends and a set of
// delimiters. A table answers for any byte with one load, and each distinct
// byte is kept repeated sixteen times for a search sixteen bytes at a time.
// The parse routines' sets are made when the program is compiled, so that
// reading a token, which a document does hundreds of thousands of times,
// costs no setup.

class TokenDelimiters {
 public:
  // A set of more distinct bytes than this (line ends included) is searched
  // one byte at a time.
  static constexpr int kMostRepeated = 8;

  // `delimiters` is a NUL-terminated set of bytes; null names none.
  constexpr explicit TokenDelimiters(const char* delimiters) {
    Add('\n');
    Add('\r');
    if (delimiters == nullptr) return;
    for (const char* d = delimiters; *d != '\0'; ++d) {
      Add(*d);
      if (*d == '\r') mNamesCarriageReturn = true;
    }
  }

  // Whether the byte is a line end or a delimiter.
  constexpr bool Ends(char c) const { return mEnds[static_cast<unsigned char>(c)]; }
  // Whether the set names the carriage return, which then ends a token even
  // before a line feed.
  constexpr bool NamesCarriageReturn() const { return mNamesCarriageReturn; }

  // The distinct bytes, each sixteen times over; none when there are more
  // than kMostRepeated.
  constexpr int RepeatedCount() const { return mCount <= kMostRepeated ? mCount : 0; }
  constexpr const char* Repeated(int k) const { return mRepeated[k]; }

 private:
  constexpr void Add(char c) {
    if (Ends(c)) return;
    mEnds[static_cast<unsigned char>(c)] = true;
    if (mCount < kMostRepeated) {
      for (char& byte : mRepeated[mCount]) byte = c;
    }
    ++mCount;
  }

  alignas(16) char mRepeated[kMostRepeated][16] = {};
  bool mEnds[256] = {};
  int mCount = 0;
  bool mNamesCarriageReturn = false;
};
