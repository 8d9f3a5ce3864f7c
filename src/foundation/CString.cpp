#include "foundation/CString.h"

#include "carbon/TextCommon.h"
#include "cf/CFString.h"
#include "foundation/DocumentStorage.h"

#include <cctype>
#include <cstdint>
#include <cstring>
#include <new>
#include <utility>

CString::CString() : mBuffer(nullptr), mLength(0) {}

CString::CString(const char* text) : CString() { *this = text; }

CString::CString(const CString& other) : CString() { *this = other.mBuffer; }

CString::CString(CString&& other) noexcept : CString() { *this = std::move(other); }

CString::CString(const char* text, DocumentStorage& storage) : CString() {
  if (text == nullptr) return;
  const unsigned long length = std::strlen(text);
  mBuffer = static_cast<char*>(storage.Copy(text, length + 1));
  mLength = length;
  mStorage = &storage;
}

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
  if (text == mBuffer) return *this;
  if (!text) {
    ClearBuffer();
    return *this;
  }
  Splice(0, mLength, text);
  return *this;
}

CString& CString::operator=(const CString& other) { return *this = other.mBuffer; }

CString& CString::operator=(CString&& other) noexcept {
  if (&other == this) return *this;
  ClearBuffer();
  mBuffer = std::exchange(other.mBuffer, nullptr);
  mLength = std::exchange(other.mLength, 0);
  mStorage = std::exchange(other.mStorage, nullptr);
  return *this;
}

CString& CString::operator=(__CFString const* text) {
  char* converted = ConvertPlatformString(text, GetApplicationTextEncoding());
  if (converted)
    Adopt(converted, std::strlen(converted));
  else
    *this = "";
  return *this;
}

bool CString::Empty() const { return !mBuffer || mBuffer[0] == '\0'; }

bool CString::operator==(const CString& other) const { return *this == other.mBuffer; }

bool CString::operator==(const char* text) const {
  if (!mBuffer || !text) return mBuffer == text;
  return std::strcmp(mBuffer, text) == 0;
}

CString& CString::operator+(const char* text) {
  if (text && text[0] != '\0') Splice(mLength, 0, text);
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
  if (!mBuffer || !text) return false;
  const unsigned long textLength = std::strlen(text);
  for (unsigned long start = 0; start + textLength <= mLength; ++start) {
    if (MatchesIgnoringCase(mBuffer + start, text, textLength)) return true;
  }
  return false;
}

void CString::Remove(char* at, unsigned long n) {
  if (!Holds(at)) return;
  const unsigned long available = mLength - static_cast<unsigned long>(at - mBuffer);
  if (n > available) n = available;
  // The terminating NUL moves down with the tail.
  std::memmove(at, at + n, available - n + 1);
  mLength -= n;
}

char* CString::Insert(char* at, const char* text) {
  if (!mBuffer || !text || text[0] == '\0' || !Holds(at)) return nullptr;
  return Splice(static_cast<unsigned long>(at - mBuffer), 0, text);
}

void CString::Replace(const CString& find, const CString& with) {
  if (!mBuffer || find.Empty()) return;
  const char* at = std::strstr(mBuffer, find.mBuffer);
  if (!at) return;
  Splice(static_cast<unsigned long>(at - mBuffer), find.mLength, with.mBuffer);
}

void CString::ClearBuffer() { Adopt(nullptr, 0); }

void CString::Adopt(char* text, unsigned long textLength) {
  if (mStorage != nullptr)
    DocumentStorage::Release(mBuffer, mLength + 1);
  else
    delete[] mBuffer;
  mStorage = nullptr;
  mBuffer = text;
  mLength = text ? textLength : 0;
}

char* CString::Splice(unsigned long offset, unsigned long removed, const char* text) {
  const unsigned long textLength = text ? std::strlen(text) : 0;
  const unsigned long tail = mLength - offset - removed;
  const unsigned long joinedLength = offset + textLength + tail;
  char* joined = new (std::nothrow) char[joinedLength + 1];
  if (!joined) return nullptr;
  if (offset) std::memcpy(joined, mBuffer, offset);
  if (textLength) std::memcpy(joined + offset, text, textLength);
  if (tail) std::memcpy(joined + offset + textLength, mBuffer + offset + removed, tail);
  joined[joinedLength] = '\0';
  Adopt(joined, joinedLength);
  return joined;
}

bool CString::Holds(const char* at) const {
  if (!mBuffer || !at) return false;
  const auto start = reinterpret_cast<std::uintptr_t>(mBuffer);
  const auto position = reinterpret_cast<std::uintptr_t>(at);
  return position >= start && position <= start + mLength;
}
