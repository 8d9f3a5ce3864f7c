#pragma once

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "cf/CoreFoundation.h"

namespace zpxtool {

// Writes JSON values to standard output; texts are UTF-8, and bytes that are
// not (PostScript may hold any byte) are written as \u00XX escapes.
class JsonWriter {
 public:
  void BeginObject() { Open('{'); }
  void EndObject() { Close('}'); }
  void BeginArray() { Open('['); }
  void EndArray() { Close(']'); }

  void Key(const char* key) {
    Separate();
    Text(key, std::strlen(key));
    std::fputc(':', stdout);
    mAfterKey = true;
  }

  void String(const char* text) {
    if (text == nullptr) return Null();
    Value();
    Text(text, std::strlen(text));
  }
  void Bytes(const unsigned char* bytes, long length) {
    Value();
    Text(reinterpret_cast<const char*>(bytes), size_t(length > 0 ? length : 0));
  }
  void String(CFStringRef text) {
    if (text == nullptr) return Null();
    CFIndex capacity =
        CFStringGetMaximumSizeForEncoding(CFStringGetLength(text), kCFStringEncodingUTF8) + 1;
    std::string buffer(size_t(capacity), '\0');
    if (!CFStringGetCString(text, &buffer[0], capacity, kCFStringEncodingUTF8)) return Null();
    String(buffer.c_str());
  }
  void Bool(bool value) { Raw(value ? "true" : "false"); }
  void Number(long value) { Raw(std::to_string(value).c_str()); }
  // JSON has no infinities and no NaN: they are written as the strings "inf",
  // "-inf" and "nan".
  void Number(double value) {
    if (std::isnan(value)) return String("nan");
    if (std::isinf(value)) return String(value > 0 ? "inf" : "-inf");
    char text[64];
    std::snprintf(text, sizeof text, "%.9g", value);
    Raw(text);
  }
  void Null() { Raw("null"); }
  void End() { std::fputc('\n', stdout); }

  template <typename T>
  void Field(const char* key, T value) {
    Key(key);
    Write(value);
  }

 private:
  void Write(const char* text) { String(text); }
  void Write(CFStringRef text) { String(text); }
  void Write(bool value) { Bool(value); }
  void Write(long value) { Number(value); }
  void Write(int value) { Number(long(value)); }
  void Write(unsigned long value) { Number(long(value)); }
  void Write(double value) { Number(value); }
  void Write(float value) { Number(double(value)); }

  void Open(char bracket) {
    Value();
    std::fputc(bracket, stdout);
    mFirst = true;
  }
  void Close(char bracket) {
    std::fputc(bracket, stdout);
    mFirst = false;
  }
  void Separate() {
    if (!mFirst) std::fputc(',', stdout);
    mFirst = false;
  }
  void Value() {
    if (mAfterKey)
      mAfterKey = false;
    else
      Separate();
  }
  void Raw(const char* text) {
    Value();
    std::fputs(text, stdout);
  }
  static void Text(const char* text, size_t length) {
    std::fputc('"', stdout);
    for (size_t i = 0; i < length; ++i) {
      unsigned char c = static_cast<unsigned char>(text[i]);
      size_t sequence = Utf8SequenceLength(text + i, length - i);
      if (c == '"' || c == '\\') {
        std::fputc('\\', stdout);
        std::fputc(c, stdout);
      } else if (c == '\n') {
        std::fputs("\\n", stdout);
      } else if (c < 0x20 || c == 0x7f || (c >= 0x80 && sequence == 0)) {
        std::printf("\\u%04x", c);
      } else if (c >= 0x80) {
        std::fwrite(text + i, 1, sequence, stdout);
        i += sequence - 1;
      } else {
        std::fputc(c, stdout);
      }
    }
    std::fputc('"', stdout);
  }
  // The length of the well-formed UTF-8 sequence that starts a multi-byte
  // character at `text`, or 0.
  static size_t Utf8SequenceLength(const char* text, size_t available) {
    unsigned char lead = static_cast<unsigned char>(text[0]);
    size_t length = lead >= 0xf0 && lead <= 0xf4  ? 4
                    : lead >= 0xe0                ? 3
                    : lead >= 0xc2 && lead < 0xe0 ? 2
                                                  : 0;
    if (length == 0 || length > available) return 0;
    for (size_t i = 1; i < length; ++i) {
      if ((static_cast<unsigned char>(text[i]) & 0xc0) != 0x80) return 0;
    }
    return length;
  }

  bool mFirst = true;
  bool mAfterKey = false;
};

}  // namespace zpxtool
