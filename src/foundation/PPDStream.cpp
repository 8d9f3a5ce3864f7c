#include "foundation/PPDStream.h"

namespace {

const unsigned char kStopByte = 255;

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

bool PPDStream::GetChar(char& c) {
  if (AtEnd()) {
    c = -1;
    mStatus = kEndOfData;
    return false;
  }
  c = *mCursor++;
  mStatus = kGood;
  return true;
}

int PPDStream::PeekChar() const { return AtEnd() ? -1 : static_cast<unsigned char>(*mCursor); }

void PPDStream::SkipWhiteSpace() {
  while (!AtEnd() && (*mCursor == ' ' || *mCursor == '\t')) ++mCursor;
}

bool PPDStream::GetLine(char* out) {
  unsigned long stored = 0;
  return CopyLine(out, stored);
}

bool PPDStream::CopyLine(char* out, unsigned long& stored) {
  for (;;) {
    if (AtEnd()) {
      mStatus = kEndOfData;
      break;
    }
    char c = *mCursor;
    if (c == '\n' || c == '\r') {
      ++mCursor;
      if (c == '\r' && !AtEnd() && *mCursor == '\n') ++mCursor;
      out[stored] = '\0';
      return true;
    }
    if (static_cast<unsigned char>(c) == kStopByte || stored == kMaxLine) break;
    out[stored++] = c;
    ++mCursor;
  }
  out[stored] = '\0';
  return false;
}
