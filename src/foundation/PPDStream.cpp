#include "foundation/PPDStream.h"

#include <cstdint>
#include <cstring>

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

// The bytes that end a token, looked up in one step while the bytes between
// them are only counted. A bit set: tokens are short, so building the set is
// part of every read and must cost a few stores.
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

 private:
  void Add(char c) {
    unsigned char byte = static_cast<unsigned char>(c);
    mEnds[byte >> 6] |= uint64_t(1) << (byte & 63);
  }

  uint64_t mEnds[4] = {};
};

// Only line ends and the stop byte end a line, and only 255 of them lies above
// a carriage return: one comparison passes most bytes.
bool MayEndLine(char c) {
  unsigned char byte = static_cast<unsigned char>(c);
  return byte <= '\r' || byte == kStopByte;
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
    while (at != end && !ends.Has(*at)) ++at;
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
    while (at != end && !MayEndLine(*at)) ++at;
    // What does not fit stays unread.
    if (static_cast<unsigned long>(at - run) > kMaxLine - count) at = run + (kMaxLine - count);
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
