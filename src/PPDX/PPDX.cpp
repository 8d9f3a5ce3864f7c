#include "PPDX/PPDX.h"

#include <climits>
#include <cstring>

#include "PPDX/PPDObjects/PPDXErrorObj.h"
#include "PPDX/PPDObjects/PPDXErrors.h"
#include "ZPXUtils/PPDUtils/TextConverter.h"
#include "foundation/CString.h"
#include "foundation/PPDFile.h"
#include "foundation/PPDFileStream.h"
#include "foundation/PPDStream.h"

namespace {

const unsigned long kMaxToken = PPDStream::kMaxLine;
const unsigned long kQuotedCapacity = 256;
constexpr TokenDelimiters kRestOfLine("\n\r");
// What ends a quoted value: the closing quote or the line's end.
constexpr TokenDelimiters kQuote("\"");

bool IsWhiteSpace(char c) { return c == ' ' || c == '\t'; }

// Strips the white space at both ends of a text of known length.
void StripWhiteSpace(char* text, size_t length) {
  while (length > 0 && IsWhiteSpace(text[length - 1])) text[--length] = '\0';
  size_t skipped = 0;
  while (IsWhiteSpace(text[skipped])) ++skipped;
  if (skipped > 0) std::memmove(text, text + skipped, length - skipped + 1);
}

bool EndsLine(char c) { return c == '\n' || c == '\r'; }

bool StartsWith(const PPDStream::Line& line, char c) {
  return line.length > 0 && line.text[0] == c;
}

// Consumes the line up to and including its first double quote. The stream
// may hold more than the line (the header is read straight from the file): a
// quote on a later line does not count.
bool SkipPastQuote(PPDStream& line) {
  unsigned long skipped = 0;
  return line.CopyUntil(nullptr, skipped, ULONG_MAX, kQuote) == '"';
}

// The bytes of a PostScript value as they are collected; at capacity - 1
// bytes the value is cut and closed with a line feed.
class PostScriptValue {
 public:
  PostScriptValue(char* out, unsigned long capacity) : mOut(out), mCapacity(capacity) {}

  // False once the value is full.
  bool Put(char c) {
    mOut[mLength++] = c;
    if (mLength < mCapacity - 1) return true;
    CloseFull();
    return false;
  }

  // Copies text up to a closing double quote or the end of the line; true
  // when the quote was found (or the value filled up).
  bool CopyUntilQuote(PPDStream& text) {
    const int stop = text.CopyUntil(mOut, mLength, mCapacity - 1, kQuote);
    if (stop != PPDStream::kStoppedFull) return stop == '"';
    CloseFull();
    return true;
  }

  // Ends the value with its line feed; a value that is not full always has
  // room for it.
  unsigned long Close() {
    if (!mFull) mOut[mLength++] = '\n';
    return mLength;
  }

  bool Full() const { return mFull; }
  unsigned long Length() const { return mLength; }

 private:
  // At capacity - 1 bytes the value is cut and closed with a line feed.
  void CloseFull() {
    mOut[mLength++] = '\n';
    mFull = true;
  }

  char* mOut;
  unsigned long mCapacity;
  unsigned long mLength = 0;
  bool mFull = false;
};

}  // namespace

PPDX::PPDX() : mErrors(new PPDXErrors) {}

PPDX::PPDX(PPDFile* file) : mFile(file), mErrors(new PPDXErrors) {}

PPDX::~PPDX() { DeleteErrors(); }

void PPDX::DeleteErrors() {
  for (PPDXErrorObj* error = mErrors->First(); error != nullptr; error = mErrors->Next())
    delete error;
}

void PPDX::Retain() { ++mReferenceCount; }

bool PPDX::Release() {
  if (--mReferenceCount > 0) return false;
  delete this;
  return true;
}

bool PPDX::AddError(PPDXErrorObj* error) {
  mErrors->Add(error);
  return error->IsFatal() || mAllErrorsFatal;
}

bool PPDX::IsValidPPD() const {
  if (!mValid) return false;
  if (mErrors->Empty()) return true;
  if (mAllErrorsFatal) return false;
  for (PPDXErrorObj* error = mErrors->First(); error != nullptr; error = mErrors->Next()) {
    if (error->IsFatal()) return false;
  }
  return true;
}

unsigned long PPDX::GetStringTextEncoding() const {
  return mConverter ? mConverter->GetOutputEncoding() : 0;
}

CFStringRef PPDX::CreateDisplayName(const char* text) {
  return DisplayNameConverter().ConvertToCFString(text, 0);
}

TextConverter& PPDX::DisplayNameConverter() {
  if (mConverter) return *mConverter;
  if (!mUTF8Reader) {
    unsigned long unknown = TextConverter::kUnknownEncoding;
    mUTF8Reader.reset(new TextConverter(unknown, TextConverter::kUnknownEncoding));
  }
  return *mUTF8Reader;
}

PPDXErrorObj* PPDX::ParsePSKeywords(PPDStream& line, const char* keyword) {
  static const struct {
    const char* keyword;
    HeaderField field;
  } kQuoted[] = {{"*PCFileName", kPCFileName},
                 {"*FormatVersion", kFormatVersion},
                 {"*FileVersion", kFileVersion},
                 {"*ModelName", kModelName}};
  for (const auto& entry : kQuoted) {
    if (std::strcmp(keyword, entry.keyword) != 0) continue;
    char value[kQuotedCapacity];
    if (GetQuotedString(line, value, kQuotedCapacity)) SetHeaderField(entry.field, value);
    return nullptr;
  }
  HeaderField field;
  if (std::strcmp(keyword, "*LanguageVersion") == 0)
    field = kLanguageVersion;
  else if (std::strcmp(keyword, "*LanguageEncoding") == 0)
    field = kLanguageEncoding;
  else
    return nullptr;
  char value[kMaxToken + 1];
  if (NextToken(line, value, kRestOfLine, true)) SetHeaderField(field, value);
  UpdateTextConverter();
  return nullptr;
}

void PPDX::SetStream(PPDFileStream* stream) {
  mStream = stream;
  mStreamEnded = false;
}

bool PPDX::FetchLine(PPDStream::Line& line, char* scratch) {
  if (mStream == nullptr || mStreamEnded) {
    line = PPDStream::Line{};
    return false;
  }
  mStreamEnded = !mStream->GetLine(line, scratch);
  return !mStreamEnded;
}

const char* PPDX::FormatVersion() const { return HeaderText(kFormatVersion); }
const char* PPDX::FileVersion() const { return HeaderText(kFileVersion); }
const char* PPDX::PCFileName() const { return HeaderText(kPCFileName); }
const char* PPDX::LanguageVersion() const { return HeaderText(kLanguageVersion); }
const char* PPDX::LanguageEncoding() const { return HeaderText(kLanguageEncoding); }
const char* PPDX::ModelName() const { return HeaderText(kModelName); }

const char* PPDX::HeaderText(HeaderField field) const {
  return mHeader[field] ? static_cast<const char*>(*mHeader[field]) : nullptr;
}

void PPDX::SetHeaderField(HeaderField field, const char* text) {
  mHeader[field].reset(text != nullptr ? new CString(text) : nullptr);
}

bool PPDX::NextToken(PPDStream& stream, char* out, const char* delimiters, bool strip) {
  return NextToken(stream, out, TokenDelimiters(delimiters), strip);
}

bool PPDX::NextToken(PPDStream& stream, char* out, const TokenDelimiters& delimiters, bool strip) {
  unsigned long stored = stream.ReadToken(out, kMaxToken, delimiters);
  out[stored] = '\0';
  if (stored == 0) return false;
  if (strip) StripWhiteSpace(out, stored);
  return true;
}

void PPDX::StripLeadingWhiteSpace(char* text) {
  size_t skipped = 0;
  while (IsWhiteSpace(text[skipped])) ++skipped;
  if (skipped > 0) std::memmove(text, text + skipped, std::strlen(text + skipped) + 1);
}

bool PPDX::GetQuotedString(PPDStream& line, char* out, const unsigned long& capacity) {
  if (capacity < 2) {
    if (capacity == 1) out[0] = '\0';
    return false;
  }
  unsigned long stored = 0;
  if (SkipPastQuote(line)) {
    char c;
    while (line.GetChar(c) && !EndsLine(c)) {
      if (c == '"') {
        out[stored] = '\0';
        return stored > 0;
      }
      out[stored++] = c;
      if (stored == capacity - 1) {
        out[stored] = '\0';
        return true;
      }
    }
  }
  out[stored] = '\0';
  return SkipContinuationLines();
}

bool PPDX::SkipContinuationLines() {
  char scratch[PPDStream::kMaxLine + 1];
  PPDStream::Line text;
  for (;;) {
    if (!FetchLine(text, scratch)) return false;
    if (StartsWith(text, '*') || std::memchr(text.text, '"', text.length) != nullptr) return true;
  }
}

unsigned long PPDX::GetPostscriptString(PPDStream& line, char* out, const unsigned long& capacity) {
  if (capacity < 2 || !SkipPastQuote(line)) return 0;
  PostScriptValue value(out, capacity);
  if (value.CopyUntilQuote(line)) return value.Full() || value.Length() > 0 ? value.Close() : 0;
  char scratch[PPDStream::kMaxLine + 1];
  PPDStream::Line text;
  while (FetchLine(text, scratch)) {
    if (text.length == 0) continue;
    if (!value.Put('\n')) return value.Length();
    const bool comment = text.length > 1 && text.text[1] == '%';
    if (StartsWith(text, '*') && !comment) break;
    const unsigned long skipped = StartsWith(text, '*') ? 2 : 0;
    PPDStream rest(text.text + skipped, static_cast<long>(text.length - skipped));
    if (value.CopyUntilQuote(rest)) break;
  }
  return value.Close();
}
