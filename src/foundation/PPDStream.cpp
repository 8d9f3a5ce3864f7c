#include "foundation/PPDStream.h"

#include <climits>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

const unsigned char kStopByte = 255;

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

// The first byte in [at, end) that ends a token, or end; the readable data
// start at `begin`.
const char* FindTokenEnd(const char* at, const char* end, const char* begin,
                         const TokenDelimiters& delimiters) {
#if defined(__SSE2__)
  if (const int count = delimiters.RepeatedCount()) {
    const char* found = FindInBlocks(at, end, begin, [&delimiters, count](const char* block) {
      const __m128i bytes = LoadBlock(block);
      __m128i hits = _mm_cmpeq_epi8(bytes, LoadBlock(delimiters.Repeated(0)));
      for (int k = 1; k < count; ++k)
        hits = _mm_or_si128(hits, _mm_cmpeq_epi8(bytes, LoadBlock(delimiters.Repeated(k))));
      return _mm_movemask_epi8(hits);
    });
    if (found != nullptr) return found;
  }
#endif
  while (at != end && !delimiters.Ends(*at)) ++at;
  return at;
}

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

// Takes [from, to) after the `stored` bytes of a line, at most up to
// `capacity` bytes in all; copies them to out + stored when `out` is not null.
void Append(char* out, unsigned long& stored, unsigned long capacity, const char* from,
            const char* to) {
  unsigned long count = static_cast<unsigned long>(to - from);
  if (count > capacity - stored) count = capacity - stored;
  if (count == 0) return;  // `from` may be null: a stream without data
  if (out != nullptr) std::memcpy(out + stored, from, count);
  stored += count;
}

}  // namespace

PPDStream::PPDStream() = default;

PPDStream::PPDStream(const char* text, long length) { Setup(text, length); }

PPDStream::PPDStream(const Line& line) : PPDStream(line.text, static_cast<long>(line.length)) {}

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

unsigned long PPDStream::ReadToken(char* out, unsigned long capacity, const char* delimiters) {
  return ReadToken(out, capacity, TokenDelimiters(delimiters));
}

// The loops keep the cursor in a local: a store through `out` could otherwise
// change the members as far as the compiler knows, and they would be reloaded
// for every byte. Bytes between token ends are copied a run at a time.
unsigned long PPDStream::ReadToken(char* out, unsigned long capacity,
                                   const TokenDelimiters& delimiters) {
  const char* at = mCursor;
  const char* const end = mEnd;
  unsigned long stored = 0;
  mStatus = kGood;
  for (;;) {
    const char* run = at;
    at = FindTokenEnd(at, end, mBegin, delimiters);
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
    if (!beforeLineFeed || delimiters.NamesCarriageReturn()) break;
    if (stored < capacity) out[stored++] = c;
  }
  mCursor = at;
  return stored;
}

PPDStream::Line PPDStream::NextWord() {
  static constexpr TokenDelimiters kSpaces(" \t");
  SkipWhiteSpace();
  const char* const start = mCursor;
  unsigned long length = 0;
  CopyUntil(nullptr, length, ULONG_MAX, kSpaces);
  return length > 0 ? Line{start, length < kMaxLine ? length : kMaxLine} : Line{};
}

int PPDStream::CopyUntil(char* out, unsigned long& stored, unsigned long capacity,
                         const TokenDelimiters& stops) {
  const char* const at = mCursor;
  // Only what fits is searched: the byte after a full `out` stays unread.
  const unsigned long room = capacity - stored;
  const char* const limit = static_cast<unsigned long>(mEnd - at) > room ? at + room : mEnd;
  const char* const found = FindTokenEnd(at, limit, mBegin, stops);
  Append(out, stored, capacity, at, found);
  mCursor = found;
  if (found == limit && stored == capacity) {
    mStatus = kGood;
    return kStoppedFull;
  }
  if (found == mEnd) {
    mStatus = kEndOfData;
    return kStoppedAtEnd;
  }
  mStatus = kGood;
  ++mCursor;
  return static_cast<unsigned char>(*found);
}

bool PPDStream::GetLine(char* out) {
  unsigned long stored = 0;
  return CopyLine(out, stored);
}

bool PPDStream::GetLine(Line& line, char*) {
  const char* const start = mCursor;
  unsigned long stored = 0;
  const bool complete = CopyLine(nullptr, stored);
  line = stored > 0 ? Line{start, strnlen(start, stored)} : Line{};
  return complete;
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
    if (out != nullptr) out[count] = c;
    ++count;
    ++at;
  }
  if (out != nullptr) out[count] = '\0';
  mCursor = at;
  stored = count;
  return ended;
}
