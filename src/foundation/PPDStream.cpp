#include "foundation/PPDStream.h"

#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

const unsigned char kStopByte = 255;

// Delimiter sets hold a few bytes: comparing them in turn beats a search call.
bool IsDelimiter(char c, const char* delimiters) {
  if (delimiters == nullptr) return false;
  for (const char* d = delimiters; *d != '\0'; ++d) {
    if (*d == c) return true;
  }
  return false;
}

// Sixteen bytes at a time where the processor allows it; the bytes after the
// last whole block of sixteen, and every byte elsewhere, one at a time.
// When fewer than sixteen bytes are left but the data behind them reach back
// far enough, the last block is taken to end at the end of the range, and the
// hits among bytes already passed are dropped.
#if defined(__SSE2__)
constexpr long kBlock = 16;

__m128i LoadBlock(const char* at) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at)); }

// Runs `hits` (a block's address to a mask of matching bytes) over [at, end);
// `begin` is where the readable data start.
template <typename Hits>
const char* FindInBlocks(const char* at, const char* end, const char* begin, Hits hits) {
  for (; end - at >= kBlock; at += kBlock) {
    if (int mask = hits(at)) return at + __builtin_ctz(unsigned(mask));
  }
  if (at == end) return end;
  // Null: too few bytes for a block, and none of them passed yet.
  if (end - begin < kBlock) return nullptr;
  const char* last = end - kBlock;
  const unsigned mask = unsigned(hits(last)) >> (at - last);
  return mask != 0 ? at + __builtin_ctz(mask) : end;
}
#endif

// The bytes that end a token. Tokens are short, so building the set is part of
// every read and must cost a few stores: a bit set, and for the block search
// one comparison vector per byte while there are few of them.
class TokenEnds {
 public:
  explicit TokenEnds(const char* delimiters) {
    Add('\n');
    Add('\r');
    if (delimiters == nullptr) return;
    for (const char* d = delimiters; *d != '\0'; ++d) Add(*d);
  }

  bool Has(char c) const {
    unsigned char byte = static_cast<unsigned char>(c);
    return (mEnds[byte >> 6] >> (byte & 63)) & 1;
  }

  // The first byte in [at, end) that ends a token, or end; the readable data
  // start at `begin`.
  const char* Find(const char* at, const char* end, const char* begin) const {
#if defined(__SSE2__)
    if (mVectorCount <= kMaxVectors) {
      const char* found = FindInBlocks(at, end, begin, [this](const char* block) {
        const __m128i bytes = LoadBlock(block);
        __m128i hits = _mm_cmpeq_epi8(bytes, mVectors[0]);
        for (int i = 1; i < mVectorCount; ++i)
          hits = _mm_or_si128(hits, _mm_cmpeq_epi8(bytes, mVectors[i]));
        return _mm_movemask_epi8(hits);
      });
      if (found != nullptr) return found;
    }
#endif
    while (at != end && !Has(*at)) ++at;
    return at;
  }

 private:
  void Add(char c) {
    unsigned char byte = static_cast<unsigned char>(c);
    mEnds[byte >> 6] |= uint64_t(1) << (byte & 63);
#if defined(__SSE2__)
    if (mVectorCount < kMaxVectors) mVectors[mVectorCount] = _mm_set1_epi8(c);
    ++mVectorCount;
#endif
  }

  uint64_t mEnds[4] = {};
#if defined(__SSE2__)
  static constexpr int kMaxVectors = 8;
  __m128i mVectors[kMaxVectors];
  int mVectorCount = 0;
#endif
};

// Only line ends and the stop byte end a line, and only 255 of them lies above
// a carriage return: one comparison passes most bytes.
bool MayEndLine(char c) {
  unsigned char byte = static_cast<unsigned char>(c);
  return byte <= '\r' || byte == kStopByte;
}

// The first byte in [at, end) that may end a line, or end; the readable data
// start at `begin`.
const char* FindLineEnd(const char* at, const char* end, const char* begin) {
#if defined(__SSE2__)
  const char* found = FindInBlocks(at, end, begin, [](const char* block) {
    const __m128i bytes = LoadBlock(block);
    // A byte is at most '\r' when the smaller of the two is the byte itself.
    const __m128i low = _mm_cmpeq_epi8(_mm_min_epu8(bytes, _mm_set1_epi8('\r')), bytes);
    const __m128i stop = _mm_cmpeq_epi8(bytes, _mm_set1_epi8(static_cast<char>(kStopByte)));
    return _mm_movemask_epi8(_mm_or_si128(low, stop));
  });
  if (found != nullptr) return found;
#endif
  while (at != end && !MayEndLine(*at)) ++at;
  return at;
}

// Copies [from, to) to out + stored, at most up to `capacity` bytes in all.
void Append(char* out, unsigned long& stored, unsigned long capacity, const char* from,
            const char* to) {
  unsigned long count = static_cast<unsigned long>(to - from);
  if (count > capacity - stored) count = capacity - stored;
  if (count == 0) return;  // `from` may be null: a stream without data
  std::memcpy(out + stored, from, count);
  stored += count;
}

}  // namespace

PPDStream::PPDStream() = default;

PPDStream::PPDStream(const char* text, long length) { Setup(text, length); }

PPDStream::~PPDStream() = default;

void PPDStream::Setup(const char* text, long length) {
  if (text == nullptr || length <= 0) {
    mStatus = kBad;
    return;
  }
  mBegin = text;
  mCursor = text;
  mEnd = text + length;
  mStatus = kGood;
}

void PPDStream::SkipWhiteSpace() {
  while (!AtEnd() && (*mCursor == ' ' || *mCursor == '\t')) ++mCursor;
}

// The loops keep the cursor in a local: a store through `out` could otherwise
// change the members as far as the compiler knows, and they would be reloaded
// for every byte. Bytes between token ends are copied a run at a time.
unsigned long PPDStream::ReadToken(char* out, unsigned long capacity, const char* delimiters) {
  const TokenEnds ends(delimiters);
  const char* at = mCursor;
  const char* const end = mEnd;
  unsigned long stored = 0;
  mStatus = kGood;
  for (;;) {
    const char* run = at;
    at = ends.Find(at, end, mBegin);
    Append(out, stored, capacity, run, at);
    if (at == end) {
      mStatus = kEndOfData;
      break;
    }
    char c = *at++;
    if (c == '\n') {
      if (stored > 0 && out[stored - 1] == '\r') --stored;
      break;
    }
    // A carriage return before a line feed is kept until the line feed.
    bool beforeLineFeed = c == '\r' && at != end && *at == '\n';
    if (!beforeLineFeed || IsDelimiter(c, delimiters)) break;
    if (stored < capacity) out[stored++] = c;
  }
  mCursor = at;
  return stored;
}

bool PPDStream::GetLine(char* out) {
  unsigned long stored = 0;
  return CopyLine(out, stored);
}

bool PPDStream::CopyLine(char* out, unsigned long& stored) {
  const char* at = mCursor;
  const char* const end = mEnd;
  unsigned long count = stored;
  bool ended = false;
  for (;;) {
    const char* run = at;
    // What does not fit stays unread: the search need not look further.
    const unsigned long room = kMaxLine - count;
    at = FindLineEnd(run, static_cast<unsigned long>(end - run) > room ? run + room : end, mBegin);
    Append(out, count, kMaxLine, run, at);
    if (at == end) {
      mStatus = kEndOfData;
      break;
    }
    char c = *at;
    if (c == '\n' || c == '\r') {
      ++at;
      if (c == '\r' && at != end && *at == '\n') ++at;
      ended = true;
      break;
    }
    if (static_cast<unsigned char>(c) == kStopByte || count == kMaxLine) break;
    out[count++] = c;
    ++at;
  }
  out[count] = '\0';
  mCursor = at;
  stored = count;
  return ended;
}
