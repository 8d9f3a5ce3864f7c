#include "ZPXUtils/PPDUtils/TextConverter.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

#include "PPDX/PPDX.h"
#include "carbon/MacErrors.h"
#include "carbon/TextCommon.h"
#include "cf/CFText.h"
#include "cf/CoreFoundation.h"

HexLanguageExceptions TextConverter::mExceptionsList;

namespace {

// Convert's status for a text with nothing to convert.
const long kEmptyTextStatus = 5000;
// Room for a PPD line's text and its terminator.
const size_t kLocalTextSize = 256;

struct EncodingName {
  const char* name;
  unsigned long encoding;
};

const EncodingName kEncodingNames[] = {
    {"ISOLatin1", kTextEncodingISOLatin1},  {"ISOLatin2", kTextEncodingISOLatin2},
    {"ISOLatin5", kTextEncodingISOLatin5},  {"JIS83-RKSJ", kTextEncodingShiftJIS},
    {"MacStandard", kTextEncodingMacRoman}, {"WindowsANSI", kTextEncodingWindowsLatin1},
};

unsigned long MostCompatibleUTF8Encoding() {
  CFStringEncoding encoding = CFStringGetMostCompatibleMacStringEncoding(CreateTextEncoding(
      kTextEncodingUnicodeDefault, kTextEncodingDefaultVariant, kUnicodeUTF8Format));
  // A diagnostic: standard output may be a job or a dump that programs read.
  std::fprintf(stderr, "CFStringGetMostCompatibleMacStringEncoding theEncoding = %x (%d)\n",
               static_cast<unsigned>(encoding), static_cast<int>(encoding));
  // This platform has no legacy encoding for Unicode and answers with a Unicode
  // form; the PPD's bytes are then UTF-8, which is what the converters must be
  // told (the 16-bit form would make them read the text as UTF-16).
  if (GetTextEncodingBase(encoding) == kTextEncodingUnicodeDefault) return kCFStringEncodingUTF8;
  return encoding;
}

bool IsHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

bool IsHexSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

int HexValue(char c) {
  if (c <= '9') return c - '0';
  return (c | 0x20) - 'a' + 10;
}

// True when [from, to) holds only hex digits and white space, an even number of
// digits.
bool IsHexSubstring(const char* from, const char* to) {
  unsigned long digits = 0;
  for (const char* at = from; at < to; ++at) {
    if (IsHexDigit(*at))
      ++digits;
    else if (!IsHexSpace(*at))
      return false;
  }
  return digits % 2 == 0;
}

// Writes one byte per pair of digits of [from, to); returns the end of the output.
char* DecodeHexDigits(const char* from, const char* to, char* out) {
  int high = -1;
  for (const char* at = from; at < to; ++at) {
    if (!IsHexDigit(*at)) continue;
    if (high < 0) {
      high = HexValue(*at);
    } else {
      *out++ = static_cast<char>(high << 4 | HexValue(*at));
      high = -1;
    }
  }
  return out;
}

// A malloc'd byte block that frees itself.
class ByteBlock {
 public:
  explicit ByteBlock(unsigned long size)
      : mBytes(static_cast<char*>(std::malloc(size ? size : 1))), mSize(mBytes ? size : 0) {}
  ~ByteBlock() { std::free(mBytes); }
  ByteBlock(const ByteBlock&) = delete;
  ByteBlock& operator=(const ByteBlock&) = delete;

  char* Bytes() const { return mBytes; }
  UInt8* Text() const { return reinterpret_cast<UInt8*>(mBytes); }
  unsigned long Size() const { return mSize; }

  bool Grow(unsigned long by) {
    char* grown = static_cast<char*>(std::realloc(mBytes, mSize + by));
    if (grown == nullptr) return false;
    mBytes = grown;
    mSize += by;
    return true;
  }

 private:
  char* mBytes;
  unsigned long mSize;
};

bool HasEightBitByte(const char* text, unsigned long length) {
  for (unsigned long i = 0; i < length; ++i)
    if (static_cast<unsigned char>(text[i]) >= 0x80) return true;
  return false;
}

bool IsWellFormedUTF8(const char* text, unsigned long length) {
  CFStringRef string =
      CFStringCreateWithBytes(kCFAllocatorDefault, reinterpret_cast<const UInt8*>(text),
                              CFIndex(length), kCFStringEncodingUTF8, false);
  if (string == nullptr) return false;
  CFRelease(string);
  return true;
}

bool IsOutputFull(OSStatus status) {
  return status == kTECOutputBufferFullStatus || status == kTECBufferBelowMinimumSizeErr;
}

}  // namespace

TextConverter::TextConverter(PPDX* document) { SetUpFrom(document, GetCurrentEncoding()); }

TextConverter::TextConverter(PPDX* document, const unsigned long& outputEncoding) {
  SetUpFrom(document, outputEncoding);
}

// An unknown encoding is refused by the platform, which leaves the converter
// invalid with a status that says why.
TextConverter::TextConverter(unsigned long& sourceEncoding, const unsigned long& outputEncoding)
    : mSourceEncoding(sourceEncoding), mOutputEncoding(outputEncoding) {
  Create();
}

TextConverter::~TextConverter() {
  DisposeConverter(mConverter);
  DisposeConverter(mUnicodeConverter);
  DisposeConverter(mUTF8Converter);
}

void TextConverter::SetUpFrom(PPDX* document, unsigned long outputEncoding) {
  mSourceEncoding = GetPPDEncoding(document);
  if (mSourceEncoding != kUnknownEncoding) {
    const char* language = document->LanguageVersion();
    mLanguage = language ? language : "";
    mOutputEncoding = outputEncoding;
  }
  Create();
}

void TextConverter::DisposeConverter(TECObjectRef& converter) {
  if (converter == nullptr) return;
  TECClearConverterContextInfo(converter);
  TECDisposeConverter(converter);
  converter = nullptr;
}

bool TextConverter::Create() {
  DisposeConverter(mConverter);
  mLastStatus = TECCreateConverter(&mConverter, mSourceEncoding, mOutputEncoding);
  mValid = mLastStatus == noErr;
  return mValid;
}

unsigned long TextConverter::GetPPDEncoding(PPDX* document) {
  return document ? LanguageStringToEncoding(document->LanguageEncoding()) : kUnknownEncoding;
}

unsigned long TextConverter::GetCurrentEncoding() {
  TextEncoding encoding = kUnknownEncoding;
  if (UpgradeScriptInfoToTextEncoding(smSystemScript, kTextLanguageDontCare, kTextRegionDontCare,
                                      nullptr, &encoding) != noErr)
    return kUnknownEncoding;
  return encoding;
}

unsigned long TextConverter::LanguageStringToEncoding(const char* name) {
  if (name == nullptr) return kUnknownEncoding;
  if (std::strcmp(name, "UTF-8") == 0) return MostCompatibleUTF8Encoding();
  for (const EncodingName& row : kEncodingNames)
    if (std::strcmp(row.name, name) == 0) return row.encoding;
  return kUnknownEncoding;
}

unsigned long TextConverter::DehexBufferFill(const char* text, char* buffer) {
  const char* at = text;
  char* out = buffer;
  for (;;) {
    const char* open = std::strchr(at, '<');
    const char* close = open ? std::strchr(open + 1, '>') : nullptr;
    if (close == nullptr || !IsHexSubstring(open + 1, close)) {
      std::memmove(out, at, std::strlen(at) + 1);
      return std::strlen(buffer);
    }
    std::memmove(out, at, open - at);
    out = DecodeHexDigits(open + 1, close, out + (open - at));
    at = close + 1;
  }
}

CFStringRef TextConverter::ConvertToCFString(const char* text, long) {
  return ConvertToCFStringFrom(text, mSourceEncoding);
}

CFStringRef TextConverter::ConvertToCFStringFrom(const char* text, unsigned long sourceEncoding) {
  if (text == nullptr) return CreateText("");
  // A document converts a display name for every choice it reads, and they are
  // short: only a long text is decoded into a block of its own.
  char local[kLocalTextSize];
  std::unique_ptr<ByteBlock> large;
  char* decoded = local;
  size_t size = std::strlen(text) + 1;
  if (size > sizeof local) {
    large.reset(new (std::nothrow) ByteBlock(size));
    if (large == nullptr || large->Bytes() == nullptr) return CreateText("Out Of Memory");
    decoded = large->Bytes();
  }
  unsigned long length = DehexBufferFill(text, decoded);
  const UInt8* bytes = reinterpret_cast<const UInt8*>(decoded);
  CFStringRef result;
  switch (sourceEncoding) {
    case kTextEncodingMacRoman:
    case kTextEncodingISOLatin1:
    case kTextEncodingWindowsLatin1:
      result = CFStringCreateWithBytes(kCFAllocatorDefault, bytes, length, sourceEncoding, false);
      break;
    case kTextEncodingISOLatin2:
    case kTextEncodingISOLatin5:
    case kTextEncodingShiftJIS:
      result = UnicodeString(decoded, length, sourceEncoding);
      break;
    default:
      result =
          CFStringCreateWithBytes(kCFAllocatorDefault, bytes, length, kCFStringEncodingUTF8, false);
      break;
  }
  return result ? result : CreateText("Translation Error");
}

bool TextConverter::PrepareUnicodeConverter(unsigned long sourceEncoding) {
  if (mUnicodeConverter != nullptr && mUnicodeSourceEncoding == sourceEncoding) {
    mLastStatus = TECClearConverterContextInfo(mUnicodeConverter);
    return true;
  }
  DisposeConverter(mUnicodeConverter);
  mUnicodeSourceEncoding = sourceEncoding;
  mLastStatus =
      TECCreateConverter(&mUnicodeConverter, sourceEncoding,
                         CreateTextEncoding(kTextEncodingUnicodeDefault,
                                            kTextEncodingDefaultVariant, kUnicode16BitFormat));
  return mLastStatus == noErr;
}

// Null when the text does not convert; the caller shows that.
CFStringRef TextConverter::UnicodeString(const char* text, unsigned long length,
                                         unsigned long sourceEncoding) {
  if (!PrepareUnicodeConverter(sourceEncoding)) return nullptr;
  // Every byte of these encodings gives at most one 16-bit unit: twice as many
  // bytes would do.
  ByteBlock unicode(4 * length);
  if (unicode.Bytes() == nullptr) return CreateText("Out Of Memory");
  ByteCount read = 0, written = 0, flushed = 0;
  mLastStatus = TECConvertText(mUnicodeConverter, reinterpret_cast<ConstTextPtr>(text), length,
                               &read, unicode.Text(), unicode.Size(), &written);
  if (mLastStatus == noErr)
    mLastStatus = TECFlushText(mUnicodeConverter, unicode.Text() + written,
                               unicode.Size() - written, &flushed);
  if (mLastStatus != noErr) return nullptr;
  return CFStringCreateWithCharacters(kCFAllocatorDefault,
                                      reinterpret_cast<const UniChar*>(unicode.Bytes()),
                                      (written + flushed) / 2);
}

void TextConverter::CFStringToCstring(CFStringRef string, char* buffer, long capacity) {
  if (buffer == nullptr || capacity <= 0) return;
  if (string != nullptr &&
      CFStringGetCString(string, buffer, capacity, CFStringGetSystemEncoding()))
    return;
  std::snprintf(buffer, capacity, "%s", "Translation Error");
}

// Outside the exception languages, 8-bit text is taken to be Mac OS Roman, and
// the converter keeps reading from it. A text that is well-formed UTF-8 (from a
// PPD edited on Linux) is read as UTF-8 instead, that text only; 8-bit bytes make
// a well-formed text UTF-8 only with a multi-byte character among them.
TECObjectRef TextConverter::ConverterFor(const char* text, unsigned long length) {
  if (mExceptionsList.IsException(mLanguage) || !HasEightBitByte(text, length)) return mConverter;
  if (IsWellFormedUTF8(text, length))
    return mSourceEncoding == kCFStringEncodingUTF8 ? mConverter : PreparedUTF8Converter();
  if (mSourceEncoding != kTextEncodingMacRoman) {
    mSourceEncoding = kTextEncodingMacRoman;
    if (!Create()) return nullptr;
  }
  return mConverter;
}

TECObjectRef TextConverter::PreparedUTF8Converter() {
  if (mUTF8Converter == nullptr) {
    mLastStatus = TECCreateConverter(&mUTF8Converter, kCFStringEncodingUTF8, mOutputEncoding);
    if (mLastStatus != noErr) mUTF8Converter = nullptr;
  }
  return mUTF8Converter;
}

long TextConverter::Convert(char* text, long capacity) {
  if (!mValid) return mLastStatus;
  if (text == nullptr || capacity <= 0) return mLastStatus = paramErr;
  unsigned long textLength = strnlen(text, capacity);
  TECObjectRef converter = ConverterFor(text, textLength);
  if (converter == nullptr) return mLastStatus;
  ByteBlock decoded(textLength + 1);
  if (decoded.Bytes() == nullptr) return mLastStatus = memFullErr;
  std::memcpy(decoded.Bytes(), text, textLength);
  decoded.Bytes()[textLength] = '\0';
  // Every decoded byte goes to the converter, whatever the output encoding: an odd
  // byte count says nothing about where a character ends.
  unsigned long length = DehexBufferFill(decoded.Bytes(), decoded.Bytes());
  if (length == 0) return mLastStatus = kEmptyTextStatus;
  return mLastStatus = ConvertInto(converter, text, capacity, decoded.Bytes(), length);
}

// Converts into a block of three bytes per input byte, grown by that size whenever
// the converter runs out of room; on success the result goes back into the text.
long TextConverter::ConvertInto(TECObjectRef converter, char* text, long capacity,
                                const char* source, unsigned long length) {
  const unsigned long step = 3 * length;
  ByteBlock converted(step);
  if (converted.Bytes() == nullptr) return memFullErr;
  ByteCount read = 0, written = 0;
  OSStatus status;
  do {
    ByteCount usedIn = 0, usedOut = 0;
    status =
        TECConvertText(converter, reinterpret_cast<ConstTextPtr>(source) + read, length - read,
                       &usedIn, converted.Text() + written, converted.Size() - written, &usedOut);
    read += usedIn;
    written += usedOut;
  } while (IsOutputFull(status) && converted.Grow(step));
  if (status == noErr) {
    do {
      ByteCount flushed = 0;
      status =
          TECFlushText(converter, converted.Text() + written, converted.Size() - written, &flushed);
      written += flushed;
    } while (IsOutputFull(status) && converted.Grow(step));
  }
  if (IsOutputFull(status)) return memFullErr;
  if (status != noErr) return status;
  unsigned long kept = written < static_cast<unsigned long>(capacity - 1) ? written : capacity - 1;
  std::memcpy(text, converted.Bytes(), kept);
  text[kept] = '\0';
  return noErr;
}
