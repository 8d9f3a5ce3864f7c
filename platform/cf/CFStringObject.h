#pragma once
// The object behind CFStringRef: its UTF-16 text and whether it may change.

#include <memory>
#include <string>

#include "cf/CFObject.h"
#include "cf/CFString.h"

struct __CFString : CFObject {
  __CFString(std::u16string text, bool isMutable)
      : CFObject(kCFObjectTypeString), text(std::move(text)), isMutable(isMutable) {}

  bool equals(const CFObject& other) const override {
    return text == static_cast<const __CFString&>(other).text;
  }
  CFHashCode hash() const override {
    return CFObjectHashBytes(text.data(), text.size() * sizeof(char16_t));
  }
  std::u16string description() const override { return text; }

  // The text of a string, empty for NULL.
  static const std::u16string& textOf(CFStringRef string);
  static CFStringRef create(std::u16string text);
  static CFMutableStringRef createMutable(std::u16string text);
  // The UTF-8 bytes of a string; a lone surrogate, which UTF-8 cannot hold, becomes "?".
  static std::string utf8Of(CFStringRef string);
  // Text from UTF-8 bytes; bytes that are not UTF-8 are read as ISO Latin 1.
  static std::u16string textFromUTF8(const char* bytes, size_t length);
  static CFStringRef createFromUTF8(const std::string& bytes);

  std::u16string text;
  const bool isMutable;
  // The UTF-8 form that CFStringGetCStringPtr hands out, made on the first request; only
  // immutable strings have one. Few strings are ever asked, so it is kept apart.
  mutable std::unique_ptr<const std::string> utf8;
};
