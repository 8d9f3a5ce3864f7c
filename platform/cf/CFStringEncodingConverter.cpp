#include "cf/CFStringEncodingConverter.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "carbon/TextCommon.h"
#include "cf/CFCharacters.h"

namespace {

enum class Form { utf8, utf16, utf32, nonLossyASCII, latin1, legacy };

struct EncodingForm {
  Form form;
  bool bigEndian;
  bool takesByteOrderMark;  // the plain Unicode forms, whose order a mark gives
  const char* charset;      // the iconv name of a legacy encoding
};

constexpr bool kHostBigEndian = __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__;

bool resolve(CFStringEncoding encoding, EncodingForm& form) {
  switch (encoding) {
    case kCFStringEncodingUTF8:
      form = {Form::utf8, false, false, nullptr};
      return true;
    case kCFStringEncodingUnicode:
      form = {Form::utf16, kHostBigEndian, true, nullptr};
      return true;
    case kCFStringEncodingUTF16BE:
      form = {Form::utf16, true, false, nullptr};
      return true;
    case kCFStringEncodingUTF16LE:
      form = {Form::utf16, false, false, nullptr};
      return true;
    case kCFStringEncodingUTF32:
      form = {Form::utf32, kHostBigEndian, true, nullptr};
      return true;
    case kCFStringEncodingUTF32BE:
      form = {Form::utf32, true, false, nullptr};
      return true;
    case kCFStringEncodingUTF32LE:
      form = {Form::utf32, false, false, nullptr};
      return true;
    case kCFStringEncodingNonLossyASCII:
      form = {Form::nonLossyASCII, false, false, nullptr};
      return true;
    case kCFStringEncodingISOLatin1:
      form = {Form::latin1, false, false, nullptr};
      return true;
    default:
      break;
  }
  // The legacy encodings share their values with the text encoding bases.
  if (encoding > 0xFFFF) return false;
  const char* charset = TextEncodingCharacterSet(static_cast<TextEncodingBase>(encoding));
  if (charset == nullptr) return false;
  form = {Form::legacy, false, false, charset};
  return true;
}

class Iconv {
 public:
  Iconv(const char* to, const char* from) : to_(to), from_(from), handle_(iconv_open(to, from)) {}
  ~Iconv() {
    if (isOpen()) iconv_close(handle_);
  }
  Iconv(const Iconv&) = delete;
  Iconv& operator=(const Iconv&) = delete;

  bool isOpen() const { return handle_ != reinterpret_cast<iconv_t>(-1); }
  bool converts(const char* to, const char* from) const { return to_ == to && from_ == from; }

  // Back to the initial state, whatever an earlier conversion (a failed one too)
  // left behind.
  void reset() const {
    if (isOpen()) iconv(handle_, nullptr, nullptr, nullptr, nullptr);
  }

  // Converts all of the input; false on an invalid or incomplete sequence.
  bool convertAll(const char* input, size_t length, std::vector<char>& output) const {
    output.resize(length * 4 + 16);
    size_t inLeft = length;
    size_t produced = 0;
    while (!convert(input, inLeft, output, produced)) {
      if (errno != E2BIG) return false;
      output.resize(output.size() * 2);
    }
    output.resize(produced);
    return true;
  }

  // Converts one character into `out`; the count of bytes written, 0 when the
  // target encoding lacks it or it does not fit.
  size_t convertCharacter(const char* input, size_t length, UInt8* out, size_t capacity) const {
    char* in = const_cast<char*>(input);
    char* cursor = reinterpret_cast<char*>(out);
    size_t outLeft = capacity;
    if (iconv(handle_, &in, &length, &cursor, &outLeft) == static_cast<size_t>(-1)) return 0;
    return capacity - outLeft;
  }

 private:
  bool convert(const char*& input, size_t& inLeft, std::vector<char>& output,
               size_t& produced) const {
    char* in = const_cast<char*>(input);
    char* out = output.data() + produced;
    size_t outLeft = output.size() - produced;
    size_t status = iconv(handle_, &in, &inLeft, &out, &outLeft);
    input = in;
    produced = output.size() - outLeft;
    return status != static_cast<size_t>(-1);
  }

  std::string to_;
  std::string from_;
  iconv_t handle_;
};

// Opening a converter costs far more than converting the short texts that platform
// strings are made of, so each thread keeps every converter it opened (a failed one
// too), one per direction and character set, and hands it out reset.
const Iconv& sharedIconv(const char* to, const char* from) {
  thread_local std::vector<std::unique_ptr<Iconv>> opened;
  for (const auto& converter : opened) {
    if (converter->converts(to, from)) {
      converter->reset();
      return *converter;
    }
  }
  opened.push_back(std::make_unique<Iconv>(to, from));
  return *opened.back();
}

const char kUTF16[] = "UTF-16LE";
const char kUTF32[] = "UTF-32LE";

bool isASCII(const UInt8* bytes, size_t length) {
  for (size_t i = 0; i < length; ++i) {
    if (bytes[i] >= 0x80) return false;
  }
  return true;
}

// Whether the character set reads every ASCII byte as that same character, which
// lets ASCII text skip the converter; asked of the converter once per thread.
bool keepsASCII(const char* charset) {
  thread_local std::vector<std::pair<std::string, bool>> known;
  for (const auto& entry : known) {
    if (entry.first == charset) return entry.second;
  }
  char ascii[0x80];
  for (int i = 0; i < 0x80; ++i) ascii[i] = static_cast<char>(i);
  std::vector<char> units;
  bool keeps = sharedIconv(kUTF16, charset).convertAll(ascii, sizeof ascii, units) &&
               units.size() == 2 * sizeof ascii;
  for (size_t i = 0; keeps && i < sizeof ascii; ++i)
    keeps = units[2 * i] == ascii[i] && units[2 * i + 1] == 0;
  known.emplace_back(charset, keeps);
  return keeps;
}

// ---- reading

unsigned readUnit(const UInt8* bytes, int width, bool bigEndian) {
  unsigned value = 0;
  for (int i = 0; i < width; ++i) {
    unsigned byte = bytes[bigEndian ? i : width - 1 - i];
    value = (value << 8) | byte;
  }
  return value;
}

bool appendCodePoint(char32_t codePoint, std::u16string& text) {
  if (codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF)) return false;
  if (codePoint < 0x10000) {
    text += static_cast<char16_t>(codePoint);
  } else {
    codePoint -= 0x10000;
    text += static_cast<char16_t>(0xD800 + (codePoint >> 10));
    text += static_cast<char16_t>(0xDC00 + (codePoint & 0x3FF));
  }
  return true;
}

// Bytes that are characters of the same value, as ASCII is in most encodings.
void appendWidened(const UInt8* bytes, size_t length, std::u16string& text) {
  // Sized first: appending a byte range would build a temporary string of it.
  size_t start = text.size();
  text.resize(start + length);
  for (size_t i = 0; i < length; ++i) text[start + i] = bytes[i];
}

bool decodeUTF8(const UInt8* bytes, size_t length, std::u16string& text) {
  if (isASCII(bytes, length)) {
    appendWidened(bytes, length, text);
    return true;
  }
  text.reserve(text.size() + length);
  size_t i = 0;
  while (i < length) {
    UInt8 lead = bytes[i++];
    int trailing = lead < 0x80                   ? 0
                   : lead >= 0xC2 && lead < 0xE0 ? 1
                   : (lead & 0xF0) == 0xE0       ? 2
                   : lead >= 0xF0 && lead < 0xF5 ? 3
                                                 : -1;
    if (trailing < 0 || length - i < static_cast<size_t>(trailing)) return false;
    char32_t codePoint = trailing == 0 ? lead : lead & (0x3F >> trailing);
    for (int k = 0; k < trailing; ++k, ++i) {
      if ((bytes[i] & 0xC0) != 0x80) return false;
      codePoint = (codePoint << 6) | (bytes[i] & 0x3F);
    }
    static const char32_t smallest[] = {0, 0x80, 0x800, 0x10000};
    if (codePoint < smallest[trailing] || !appendCodePoint(codePoint, text)) return false;
  }
  return true;
}

// Takes the byte-order mark off an external representation of a plain Unicode
// form and tells the order it gives; without a mark the order is big-endian.
void takeByteOrderMark(const UInt8*& bytes, size_t& length, int width, bool& bigEndian) {
  if (length < static_cast<size_t>(width)) return;
  unsigned mark = readUnit(bytes, width, true);
  unsigned big = width == 2 ? 0xFEFF : 0x0000FEFF;
  unsigned little = width == 2 ? 0xFFFE : 0xFFFE0000;
  if (mark != big && mark != little) return;
  bigEndian = mark == big;
  bytes += width;
  length -= static_cast<size_t>(width);
}

bool decodeWide(const UInt8* bytes, size_t length, const EncodingForm& form, bool external,
                std::u16string& text) {
  int width = form.form == Form::utf16 ? 2 : 4;
  bool bigEndian = form.bigEndian;
  if (form.takesByteOrderMark) {
    if (external) bigEndian = true;
    takeByteOrderMark(bytes, length, width, bigEndian);
  }
  if (length % static_cast<size_t>(width) != 0) return false;
  if (width == 2) {
    // Every 16-bit unit is taken as it stands, so the text is sized once.
    size_t at = text.size();
    text.resize(at + length / 2);
    for (size_t i = 0; i < length; i += 2)
      text[at++] = static_cast<char16_t>(readUnit(bytes + i, 2, bigEndian));
    return true;
  }
  text.reserve(text.size() + length / 4);
  for (size_t i = 0; i < length; i += 4)
    if (!appendCodePoint(readUnit(bytes + i, 4, bigEndian), text)) return false;
  return true;
}

// ASCII in which "\uXXXX" stands for any other UTF-16 unit and "\\" for a
// backslash.
bool decodeNonLossyASCII(const UInt8* bytes, size_t length, std::u16string& text) {
  for (size_t i = 0; i < length; ++i) {
    if (bytes[i] >= 0x80) return false;
    if (bytes[i] == '\\' && i + 1 < length && bytes[i + 1] == '\\') {
      text += u'\\';
      ++i;
      continue;
    }
    if (bytes[i] == '\\' && i + 5 < length && bytes[i + 1] == 'u') {
      int unit = 0;
      int k = 2;
      for (; k < 6 && CFHexDigitValue(bytes[i + k]) >= 0; ++k)
        unit = unit * 16 + CFHexDigitValue(bytes[i + k]);
      if (k == 6) {
        text += static_cast<char16_t>(unit);
        i += 5;
        continue;
      }
    }
    text += static_cast<char16_t>(bytes[i]);
  }
  return true;
}

bool decodeLegacy(const UInt8* bytes, size_t length, const char* charset, std::u16string& text) {
  if (isASCII(bytes, length) && keepsASCII(charset)) {
    appendWidened(bytes, length, text);
    return true;
  }
  const Iconv& converter = sharedIconv(kUTF16, charset);
  std::vector<char> output;
  if (!converter.isOpen() ||
      !converter.convertAll(reinterpret_cast<const char*>(bytes), length, output))
    return false;
  const UInt8* units = reinterpret_cast<const UInt8*>(output.data());
  for (size_t i = 0; i + 1 < output.size(); i += 2)
    text += static_cast<char16_t>(readUnit(units + i, 2, false));
  return true;
}

// ---- writing

// Writes one character's bytes into `out` (at least 12 bytes); returns their
// count, or 0 when the encoding cannot represent the character.
class CharacterEncoder {
 public:
  explicit CharacterEncoder(const EncodingForm& form)
      : form_(form),
        iconv_(form.form == Form::legacy ? &sharedIconv(form.charset, kUTF32) : nullptr),
        keepsASCII_(form.form == Form::legacy && keepsASCII(form.charset)) {}

  bool isReady() const { return !iconv_ || iconv_->isOpen(); }

  size_t encode(const char16_t* units, CFIndex count, UInt8* out) const {
    bool isPair = count == 2;
    char32_t codePoint =
        isPair ? 0x10000 + ((units[0] - 0xD800) << 10) + (units[1] - 0xDC00) : units[0];
    bool loneSurrogate = !isPair && codePoint >= 0xD800 && codePoint <= 0xDFFF;
    switch (form_.form) {
      case Form::utf8:
        return loneSurrogate ? 0 : writeUTF8(codePoint, out);
      case Form::utf16:
        writeUnit(units[0], 2, out);
        if (isPair) writeUnit(units[1], 2, out + 2);
        return isPair ? 4 : 2;
      case Form::utf32:
        if (loneSurrogate) return 0;
        writeUnit(codePoint, 4, out);
        return 4;
      case Form::nonLossyASCII:
        return writeNonLossy(units, count, out);
      case Form::latin1:
        if (codePoint > 0xFF) return 0;
        out[0] = static_cast<UInt8>(codePoint);
        return 1;
      case Form::legacy:
        return loneSurrogate ? 0 : writeLegacy(codePoint, out);
    }
    return 0;
  }

  size_t writeByteOrderMark(UInt8* out) const {
    int width = form_.form == Form::utf16 ? 2 : 4;
    writeUnit(0xFEFF, width, out);
    return static_cast<size_t>(width);
  }

 private:
  void writeUnit(char32_t value, int width, UInt8* out) const {
    for (int i = 0; i < width; ++i) {
      int shift = 8 * (form_.bigEndian ? width - 1 - i : i);
      out[i] = static_cast<UInt8>(value >> shift);
    }
  }

  static size_t writeUTF8(char32_t codePoint, UInt8* out) {
    if (codePoint < 0x80) {
      out[0] = static_cast<UInt8>(codePoint);
      return 1;
    }
    size_t count = codePoint < 0x800 ? 2 : codePoint < 0x10000 ? 3 : 4;
    static const UInt8 leads[] = {0, 0, 0xC0, 0xE0, 0xF0};
    for (size_t i = count - 1; i > 0; --i, codePoint >>= 6)
      out[i] = static_cast<UInt8>(0x80 | (codePoint & 0x3F));
    out[0] = static_cast<UInt8>(leads[count] | codePoint);
    return count;
  }

  static size_t writeNonLossy(const char16_t* units, CFIndex count, UInt8* out) {
    if (count == 1 && units[0] < 0x80) {
      out[0] = static_cast<UInt8>(units[0]);
      if (units[0] != u'\\') return 1;
      out[1] = '\\';
      return 2;
    }
    static const char hexDigits[] = "0123456789abcdef";
    size_t used = 0;
    for (CFIndex k = 0; k < count; ++k) {
      out[used++] = '\\';
      out[used++] = 'u';
      for (int shift = 12; shift >= 0; shift -= 4)
        out[used++] = hexDigits[(units[k] >> shift) & 15];
    }
    return used;
  }

  size_t writeLegacy(char32_t codePoint, UInt8* out) const {
    if (codePoint < 0x80 && keepsASCII_) {
      out[0] = static_cast<UInt8>(codePoint);
      return 1;
    }
    char input[4];
    for (int i = 0; i < 4; ++i) input[i] = static_cast<char>(codePoint >> (8 * i));
    return iconv_->convertCharacter(input, sizeof input, out, 8);
  }

  EncodingForm form_;
  const Iconv* iconv_;
  bool keepsASCII_;
};

}  // namespace

bool CFStringEncodingConverter::decode(const UInt8* bytes, size_t length, CFStringEncoding encoding,
                                       bool isExternalRepresentation, std::u16string& text) {
  EncodingForm form;
  if (!resolve(encoding, form)) return false;
  static const UInt8 utf8Mark[] = {0xEF, 0xBB, 0xBF};
  switch (form.form) {
    case Form::utf8:
      if (isExternalRepresentation && length >= 3 && std::equal(utf8Mark, utf8Mark + 3, bytes)) {
        bytes += 3;
        length -= 3;
      }
      return decodeUTF8(bytes, length, text);
    case Form::utf16:
    case Form::utf32:
      return decodeWide(bytes, length, form, isExternalRepresentation, text);
    case Form::nonLossyASCII:
      return decodeNonLossyASCII(bytes, length, text);
    case Form::latin1:
      appendWidened(bytes, length, text);
      return true;
    case Form::legacy:
      return decodeLegacy(bytes, length, form.charset, text);
  }
  return false;
}

CFStringEncodingConverter::Result CFStringEncodingConverter::encode(
    const char16_t* units, CFIndex count, CFStringEncoding encoding, UInt8 lossByte,
    bool isExternalRepresentation, UInt8* buffer, CFIndex capacity) {
  Result result = {0, 0};
  EncodingForm form;
  if (!resolve(encoding, form)) return result;
  CharacterEncoder encoder(form);
  if (!encoder.isReady()) return result;
  UInt8 bytes[16];
  auto put = [&](size_t size) {
    CFIndex length = static_cast<CFIndex>(size);
    if (buffer && length > capacity - result.bytesUsed) return false;
    if (buffer) std::copy(bytes, bytes + size, buffer + result.bytesUsed);
    result.bytesUsed += length;
    return true;
  };
  if (form.takesByteOrderMark && isExternalRepresentation &&
      !put(encoder.writeByteOrderMark(bytes)))
    return result;
  while (result.unitsConverted < count) {
    const char16_t* character = units + result.unitsConverted;
    bool isPair = count - result.unitsConverted >= 2 && character[0] >= 0xD800 &&
                  character[0] < 0xDC00 && character[1] >= 0xDC00 && character[1] < 0xE000;
    CFIndex width = isPair ? 2 : 1;
    size_t size = encoder.encode(character, width, bytes);
    if (size == 0 && lossByte != 0) {
      bytes[0] = lossByte;
      size = 1;
    }
    if (size == 0 || !put(size)) break;
    result.unitsConverted += width;
  }
  return result;
}

CFIndex CFStringEncodingConverter::maximumSize(CFIndex length, CFStringEncoding encoding) {
  EncodingForm form;
  if (!resolve(encoding, form)) return kCFNotFound;
  switch (form.form) {
    case Form::utf8:
      return length * 3;
    case Form::utf16:
      return length * 2;
    case Form::utf32:
      return length * 4;
    case Form::nonLossyASCII:
      return length * 6;
    case Form::latin1:
    case Form::legacy:
      break;
  }
  bool doubleByte =
      encoding == kCFStringEncodingShiftJIS || encoding == kCFStringEncodingMacJapanese;
  return doubleByte ? length * 2 : length;
}
