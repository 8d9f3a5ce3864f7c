#include "foundation/BoyerMoore.h"

#include <cstring>

namespace {

// A skip entry holds one byte; a 256-byte pattern's full skip is cut to 255,
// which only shortens the jump.
const unsigned kMaxSkip = 255;

unsigned char SkipOf(long distance) {
  return static_cast<unsigned char>(distance > static_cast<long>(kMaxSkip) ? kMaxSkip : distance);
}

}  // namespace

BoyerMoore::BoyerMoore() { BuildSkipTable(); }

BoyerMoore::~BoyerMoore() = default;

void BoyerMoore::SetSearchString(const char* pattern, short length) {
  if (pattern == nullptr || length < 0) length = 0;
  if (length > kMaxPattern) length = kMaxPattern;
  if (length > 0) std::memmove(mPattern, pattern, static_cast<size_t>(length));
  mPatternLength = length;
  BuildSkipTable();
}

void BoyerMoore::SetSearchString(unsigned char* pattern) {
  if (pattern == nullptr) {
    SetSearchString(nullptr, 0);
    return;
  }
  SetSearchString(reinterpret_cast<const char*>(pattern + 1), pattern[0]);
}

void BoyerMoore::GetSearchString(char* out) {
  std::memcpy(out, mPattern, static_cast<size_t>(mPatternLength));
  out[mPatternLength] = '\0';
}

void BoyerMoore::SetSearchData(void* data, long length) {
  mData = data;
  mDataLength = data != nullptr && length > 0 ? length : 0;
  mOffset = 0;
}

void BoyerMoore::PrepareSearchData() {
  mSearchStart = mData != nullptr && mOffset >= 0 && mOffset <= mDataLength
                     ? static_cast<const unsigned char*>(mData) + mOffset
                     : nullptr;
}

void BoyerMoore::CleanupSearchData() { mSearchStart = nullptr; }

void BoyerMoore::BuildSkipTable() {
  std::memset(mSkip, SkipOf(mPatternLength), sizeof mSkip);
  for (short k = 0; k < mPatternLength; ++k) mSkip[mPattern[k]] = SkipOf(mPatternLength - 1 - k);
}

long BoyerMoore::Search() {
  PrepareSearchData();
  if (mSearchStart == nullptr || mPatternLength == 0) return -1;
  const long limit = mDataLength - mOffset;
  const long last = mPatternLength - 1;
  if (last >= limit) return -1;
  long i = last;
  long j = last;
  // Every jump moves the pattern forward, and i only steps back while it
  // matches inside the current alignment, so 0 <= i < limit on every read.
  while (j >= 0) {
    if (mSearchStart[i] == mPattern[j]) {
      --i;
      --j;
      continue;
    }
    long shift = mPatternLength - j;
    if (mSkip[mSearchStart[i]] > shift) shift = mSkip[mSearchStart[i]];
    i += shift;
    j = last;
    if (i >= limit) return -1;
  }
  return i + 1;
}

long BoyerMoore::Search(long offset, const char* pattern, short length) {
  if (pattern != nullptr) SetSearchString(pattern, length);
  mOffset = offset;
  return Search();
}

long BoyerMoore::Search(long offset, unsigned char* pattern) {
  if (pattern != nullptr) SetSearchString(pattern);
  mOffset = offset;
  return Search();
}

void BoyerMoore::SetCaseSensitve(bool caseSensitive) { mCaseSensitive = caseSensitive; }

bool BoyerMoore::GetCaseSensitive() { return mCaseSensitive; }

short BoyerMoore::GetSearchStringLength() { return mPatternLength; }
