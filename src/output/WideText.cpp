#include "output/WideText.h"

namespace {

constexpr unsigned long kLastCodePoint = 0x10FFFF;

bool IsSurrogate(unsigned long c) { return c >= 0xD800 && c <= 0xDFFF; }

void AppendUTF8(unsigned long c, std::string& out) {
  if (c < 0x80) {
    out += char(c);
  } else if (c < 0x800) {
    out += char(0xC0 | (c >> 6));
    out += char(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += char(0xE0 | (c >> 12));
    out += char(0x80 | ((c >> 6) & 0x3F));
    out += char(0x80 | (c & 0x3F));
  } else {
    out += char(0xF0 | (c >> 18));
    out += char(0x80 | ((c >> 12) & 0x3F));
    out += char(0x80 | ((c >> 6) & 0x3F));
    out += char(0x80 | (c & 0x3F));
  }
}

// The length of the sequence that the lead byte starts and its payload bits;
// 0 for a byte that cannot start one.
size_t SequenceLength(unsigned char lead, unsigned long& bits) {
  if (lead < 0x80) return bits = lead, 1;
  if ((lead & 0xE0) == 0xC0) return bits = lead & 0x1F, 2;
  if ((lead & 0xF0) == 0xE0) return bits = lead & 0x0F, 3;
  if ((lead & 0xF8) == 0xF0) return bits = lead & 0x07, 4;
  return 0;
}

// The smallest character each length may carry: longer forms are not UTF-8.
unsigned long SmallestOfLength(size_t length) {
  static const unsigned long kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
  return kSmallest[length];
}

// The character starting at `i`; 0 when the bytes there are not UTF-8.
size_t DecodeAt(const char* bytes, size_t size, size_t i, unsigned long& c) {
  const size_t length = SequenceLength(static_cast<unsigned char>(bytes[i]), c);
  bool valid = length != 0 && i + length <= size;
  for (size_t k = 1; valid && k < length; ++k) {
    const unsigned char next = static_cast<unsigned char>(bytes[i + k]);
    valid = (next & 0xC0) == 0x80;
    c = (c << 6) | (next & 0x3F);
  }
  if (!valid || c < SmallestOfLength(length) || c > kLastCodePoint || IsSurrogate(c)) return 0;
  return length;
}

constexpr wchar_t kReplacementCharacter = 0xFFFD;

}  // namespace

bool UTF8FromWide(const std::wstring& text, std::string& utf8) {
  utf8.clear();
  for (wchar_t character : text) {
    const unsigned long c = static_cast<unsigned long>(character);
    if (c > kLastCodePoint || IsSurrogate(c)) {
      utf8.clear();
      return false;
    }
    AppendUTF8(c, utf8);
  }
  return true;
}

bool WideFromUTF8(const std::string& utf8, std::wstring& text) {
  text.clear();
  for (size_t i = 0; i < utf8.size();) {
    unsigned long c = 0;
    const size_t length = DecodeAt(utf8.data(), utf8.size(), i, c);
    if (length == 0) {
      text.clear();
      return false;
    }
    text += wchar_t(c);
    i += length;
  }
  return true;
}

std::wstring WideFromUTF8Replacing(const char* bytes, size_t size) {
  std::wstring text;
  for (size_t i = 0; i < size;) {
    unsigned long c = 0;
    const size_t length = DecodeAt(bytes, size, i, c);
    text += length == 0 ? kReplacementCharacter : wchar_t(c);
    i += length == 0 ? 1 : length;
  }
  return text;
}

std::string UTF8FromWideReplacing(const wchar_t* text) {
  std::string utf8;
  for (; *text != 0; ++text) {
    const unsigned long c = static_cast<unsigned long>(*text);
    AppendUTF8(c > kLastCodePoint || IsSurrogate(c) ? kReplacementCharacter : c, utf8);
  }
  return utf8;
}

