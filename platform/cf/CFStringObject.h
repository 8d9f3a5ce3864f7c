#pragma once
// The object behind CFStringRef: its UTF-16 text and whether it may change.
//
// An immutable string keeps its units in the same heap block, right after the
// object: a parsed document holds one string per menu item, and one block each
// halves their allocations. A mutable string keeps them in a string of its own
// that edits can grow.

#include <memory>
#include <string>
#include <string_view>

#include "cf/CFObject.h"
#include "cf/CFString.h"

struct __CFString : CFObject {
  __CFString(const __CFString&) = delete;
  __CFString& operator=(const __CFString&) = delete;
  ~__CFString() override = default;

  // The block holds the units as well, so it goes back to the heap whole.
  static void operator delete(void* block) { ::operator delete(block); }

  bool equals(const CFObject& other) const override {
    return text() == static_cast<const __CFString&>(other).text();
  }
  CFHashCode hash() const override {
    std::u16string_view view = text();
    return CFObjectHashBytes(view.data(), view.size() * sizeof(char16_t));
  }
  std::u16string description() const override { return std::u16string(text()); }

  std::u16string_view text() const {
    return isMutable ? std::u16string_view(*editable) : std::u16string_view(units(), length);
  }
  // The units that the append operations change; only a mutable string has them.
  std::u16string& editableText() { return *editable; }

  // The text of a string, empty for NULL.
  static std::u16string_view textOf(CFStringRef string);
  static __CFString* create(std::u16string_view text);
  static CFMutableStringRef createMutable(std::u16string text);
  // The UTF-8 bytes of a string; a lone surrogate, which UTF-8 cannot hold, becomes "?".
  static std::string utf8Of(CFStringRef string);
  // Text from UTF-8 bytes; bytes that are not UTF-8 are read as ISO Latin 1.
  static std::u16string textFromUTF8(const char* bytes, size_t length);
  static CFStringRef createFromUTF8(const std::string& bytes);

  const bool isMutable;

 private:
  explicit __CFString(size_t unitCount)
      : CFObject(kCFObjectTypeString), isMutable(false), length(unitCount) {}
  explicit __CFString(std::u16string text)
      : CFObject(kCFObjectTypeString),
        isMutable(true),
        editable(std::make_unique<std::u16string>(std::move(text))) {}

  const char16_t* units() const { return reinterpret_cast<const char16_t*>(this + 1); }
  char16_t* units() { return reinterpret_cast<char16_t*>(this + 1); }

  size_t length = 0;                         // immutable strings only
  std::unique_ptr<std::u16string> editable;  // mutable strings only
};
