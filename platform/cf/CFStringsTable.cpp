#include "cf/CFStringsTable.h"

#include "cf/CFStringObject.h"

namespace {

bool IsSpace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r'; }

bool IsWordCharacter(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
         c == u'_' || c == u'.' || c == u'-' || c == u'$' || c == u':' || c == u'/';
}

int HexValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

// Reads the table's tokens: quoted strings, plain words and the marks = and ;.
class Scanner {
 public:
  explicit Scanner(const std::u16string& text) : mText(text) {}

  // False on an unclosed comment.
  bool SkipSpaceAndComments() {
    while (mPosition < mText.size()) {
      if (IsSpace(mText[mPosition])) {
        ++mPosition;
      } else if (mText.compare(mPosition, 2, u"//") == 0) {
        size_t end = mText.find(u'\n', mPosition);
        mPosition = end == std::u16string::npos ? mText.size() : end + 1;
      } else if (mText.compare(mPosition, 2, u"/*") == 0) {
        size_t end = mText.find(u"*/", mPosition + 2);
        if (end == std::u16string::npos) return false;
        mPosition = end + 2;
      } else {
        break;
      }
    }
    return true;
  }

  bool AtEnd() const { return mPosition >= mText.size(); }

  bool Take(char16_t mark) {
    if (!SkipSpaceAndComments() || AtEnd() || mText[mPosition] != mark) return false;
    ++mPosition;
    return true;
  }

  // A quoted string or a plain word; false when neither stands here.
  bool String(std::u16string& out) {
    out.clear();
    if (!SkipSpaceAndComments() || AtEnd()) return false;
    if (mText[mPosition] != u'"') return Word(out);
    ++mPosition;
    while (mPosition < mText.size()) {
      char16_t c = mText[mPosition++];
      if (c == u'"') return true;
      if (c == u'\\' && !Escape(out)) return false;
      if (c != u'\\') out += c;
    }
    return false;
  }

 private:
  bool Word(std::u16string& out) {
    while (mPosition < mText.size() && IsWordCharacter(mText[mPosition])) out += mText[mPosition++];
    return !out.empty();
  }

  bool Escape(std::u16string& out) {
    if (mPosition >= mText.size()) return false;
    char16_t c = mText[mPosition++];
    switch (c) {
      case u'n':
        out += u'\n';
        return true;
      case u't':
        out += u'\t';
        return true;
      case u'r':
        out += u'\r';
        return true;
      case u'U':
        return UnicodeEscape(out);
      default:
        out += c;
        return true;
    }
  }

  bool UnicodeEscape(std::u16string& out) {
    if (mText.size() - mPosition < 4) return false;
    char16_t value = 0;
    for (int digit = 0; digit < 4; ++digit) {
      int nibble = HexValue(mText[mPosition++]);
      if (nibble < 0) return false;
      value = char16_t(value << 4 | nibble);
    }
    out += value;
    return true;
  }

  const std::u16string& mText;
  size_t mPosition = 0;
};

CFStringRef CreateString(const std::u16string& text) {
  return CFStringCreateWithCharacters(
      kCFAllocatorDefault, reinterpret_cast<const UniChar*>(text.data()), CFIndex(text.size()));
}

// The table's text, by its byte-order mark; false when the bytes do not decode.
bool Decode(const UInt8* bytes, size_t length, std::u16string& text) {
  CFStringEncoding encoding = kCFStringEncodingUTF8;
  bool external = false;
  if (length >= 2 &&
      ((bytes[0] == 0xFF && bytes[1] == 0xFE) || (bytes[0] == 0xFE && bytes[1] == 0xFF))) {
    encoding = kCFStringEncodingUTF16;
    external = true;
  } else if (length >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) {
    bytes += 3;
    length -= 3;
  }
  CFRef<CFStringRef> decoded(
      CFStringCreateWithBytes(kCFAllocatorDefault, bytes, CFIndex(length), encoding, external));
  if (!decoded) return false;
  text = std::u16string(__CFString::textOf(decoded.get()));
  if (!text.empty() && text[0] == u'\xFEFF') text.erase(0, 1);
  return true;
}

}  // namespace

CFStringsTable::CFStringsTable() { Clear(); }

bool CFStringsTable::Parse(const UInt8* bytes, size_t length) {
  Clear();
  std::u16string text;
  bool parsed = (bytes != nullptr || length == 0) && length <= kMaximumSize &&
                Decode(bytes, length, text) && ParseText(text);
  if (!parsed) Clear();
  return parsed;
}

void CFStringsTable::Clear() {
  mEntries.reset(CFDictionaryCreateMutable(kCFAllocatorDefault, 0, &kCFTypeDictionaryKeyCallBacks,
                                           &kCFTypeDictionaryValueCallBacks));
}

bool CFStringsTable::ParseText(const std::u16string& text) {
  Scanner scanner(text);
  std::u16string key, value;
  while (scanner.SkipSpaceAndComments() && !scanner.AtEnd()) {
    if (!scanner.String(key)) return false;
    value = key;
    if (scanner.Take(u'=') && !scanner.String(value)) return false;
    if (!scanner.Take(u';')) return false;
    CFRef<CFStringRef> keyString(CreateString(key));
    CFRef<CFStringRef> valueString(CreateString(value));
    CFDictionarySetValue(mEntries.get(), keyString.get(), valueString.get());
  }
  return scanner.AtEnd();
}

CFStringRef CFStringsTable::Find(CFStringRef key) const {
  if (key == nullptr) return nullptr;
  return static_cast<CFStringRef>(CFDictionaryGetValue(mEntries.get(), key));
}
