#pragma once
// Exact byte-pattern search over a block of data with a bad-character skip
// table, used to find a keyword in the head of a PPD file.

class BoyerMoore {
 public:
  static constexpr short kMaxPattern = 256;

  BoyerMoore();
  virtual ~BoyerMoore();

  // At most kMaxPattern bytes are kept; a null or negative-length pattern
  // clears it (nothing is then found).
  virtual void SetSearchString(const char* pattern, short length);
  // A length-prefixed pattern.
  virtual void SetSearchString(unsigned char* pattern);
  // Copies the pattern into `out` (kMaxPattern + 1 bytes) with a NUL after it.
  virtual void GetSearchString(char* out);
  // The data is not owned; the offset returns to 0.
  virtual void SetSearchData(void* data, long length);
  // The index of the first match at or after the offset, relative to the
  // offset, or -1.
  virtual long Search();
  // Sets the pattern (when one is given) and the offset, then searches.
  virtual long Search(long offset, const char* pattern, short length);
  virtual long Search(long offset, unsigned char* pattern);
  // Kept for callers that ask; the search is exact whatever its value.
  virtual void SetCaseSensitve(bool caseSensitive);
  virtual bool GetCaseSensitive();
  virtual short GetSearchStringLength();
  virtual void PrepareSearchData();
  virtual void CleanupSearchData();
  virtual void BuildSkipTable();

 private:
  unsigned char mSkip[256];
  unsigned char mPattern[kMaxPattern];
  short mPatternLength = 0;
  const void* mData = nullptr;
  long mDataLength = 0;
  long mOffset = 0;
  const unsigned char* mSearchStart = nullptr;
  bool mCaseSensitive = true;
};
