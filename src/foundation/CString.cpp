#include "foundation/CString.h"

#include "carbon/TextCommon.h"
#include "cf/CFString.h"

#include <cctype>
#include <cstdint>
#include <cstring>
#include <new>

CString::CString() : buffer(nullptr), length(0) {}

CString::CString(const char* text) : CString() { *this = text; }

CString::CString(const CString& other) : CString() { *this = other.buffer; }

// Sized for the encoding, not per UTF-16 unit: a UTF-8 text can take three
// bytes for each unit. Returns a new NUL-terminated buffer, or null when the
// text is null or does not convert.
static char* ConvertPlatformString(CFStringRef text, CFStringEncoding encoding) {
  if (!text) return nullptr;
  const CFIndex capacity = CFStringGetMaximumSizeForEncoding(CFStringGetLength(text), encoding);
  if (capacity < 0) return nullptr;
  char* converted = new (std::nothrow) char[capacity + 1];
  if (converted && !CFStringGetCString(text, converted, capacity + 1, encoding)) {
    delete[] converted;
    return nullptr;
  }
  return converted;
}

CString::CString(__CFString const* text) : CString() {
  char* converted = ConvertPlatformString(text, CFStringGetSystemEncoding());
  if (converted) Adopt(converted, std::strlen(converted));
}

CString::~CString() { ClearBuffer(); }

CString& CString::operator=(const char* text) {
  if (text == buffer) return *this;
  if (!text) {
    ClearBuffer();
    return *this;
  }
  Splice(0, length, text);
  return *this;
}

CString& CString::operator=(const CString& other) { return *this = other.buffer; }

CString& CString::operator=(__CFString const* text) {
  char* converted = ConvertPlatformString(text, GetApplicationTextEncoding());
  if (converted)
    Adopt(converted, std::strlen(converted));
  else
    *this = "";
  return *this;
}

bool CString::Empty() const { return !buffer || buffer[0] == '\0'; }

bool CString::operator==(const CString& other) const { return *this == other.buffer; }

bool CString::operator==(const char* text) const {
  if (!buffer || !text) return buffer == text;
  return std::strcmp(buffer, text) == 0;
}

CString& CString::operator+(const char* text) {
  if (text && text[0] != '\0') Splice(length, 0, text);
  return *this;
}

static bool MatchesIgnoringCase(const char* at, const char* text, unsigned long textLength) {
  for (unsigned long i = 0; i < textLength; ++i) {
    if (std::tolower(static_cast<unsigned char>(at[i])) !=
        std::tolower(static_cast<unsigned char>(text[i])))
      return false;
  }
  return true;
}

bool CString::Contains(const char* text) const {
  if (!buffer || !text) return false;
  const unsigned long textLength = std::strlen(text);
  for (unsigned long start = 0; start + textLength <= length; ++start) {
    if (MatchesIgnoringCase(buffer + start, text, textLength)) return true;
  }
  return false;
}

void CString::Remove(char* at, unsigned long n) {
  if (!Holds(at)) return;
  const unsigned long available = length - static_cast<unsigned long>(at - buffer);
  if (n > available) n = available;
  // The terminating NUL moves down with the tail.
  std::memmove(at, at + n, available - n + 1);
  length -= n;
}

char* CString::Insert(char* at, const char* text) {
  if (!buffer || !text || text[0] == '\0' || !Holds(at)) return nullptr;
  return Splice(static_cast<unsigned long>(at - buffer), 0, text);
}

void CString::Replace(const CString& find, const CString& with) {
  if (!buffer || find.Empty()) return;
  const char* at = std::strstr(buffer, find.buffer);
  if (!at) return;
  Splice(static_cast<unsigned long>(at - buffer), find.length, with.buffer);
}

void CString::ClearBuffer() { Adopt(nullptr, 0); }

void CString::Adopt(char* text, unsigned long textLength) {
  delete[] buffer;
  buffer = text;
  length = text ? textLength : 0;
}

char* CString::Splice(unsigned long offset, unsigned long removed, const char* text) {
  const unsigned long textLength = text ? std::strlen(text) : 0;
  const unsigned long tail = length - offset - removed;
  const unsigned long joinedLength = offset + textLength + tail;
  char* joined = new (std::nothrow) char[joinedLength + 1];
  if (!joined) return nullptr;
  if (offset) std::memcpy(joined, buffer, offset);
  if (textLength) std::memcpy(joined + offset, text, textLength);
  if (tail) std::memcpy(joined + offset + textLength, buffer + offset + removed, tail);
  joined[joinedLength] = '\0';
  Adopt(joined, joinedLength);
  return joined;
}

bool CString::Holds(const char* at) const {
  if (!buffer || !at) return false;
  const auto start = reinterpret_cast<std::uintptr_t>(buffer);
  const auto position = reinterpret_cast<std::uintptr_t>(at);
  return position >= start && position <= start + length;
}
