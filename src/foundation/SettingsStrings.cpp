#include "foundation/SettingsStrings.h"

#include <cstring>
#include <new>
#include <vector>

#include "carbon/MacErrors.h"
#include "foundation/CString.h"
#include "foundation/Settings.h"

namespace {

// Loss byte for characters the encoding cannot hold.
constexpr UInt8 kLossByte = '?';

// The whole entry, followed by a NUL; false when it is missing, empty or unreadable.
bool ReadEntry(Settings& settings, unsigned long key, long index, std::vector<char>& bytes) {
  long size = 0;
  if (settings.Get(key, index, nullptr, size, false) != noErr || size == 0) return false;
  bytes.assign(std::size_t(size) + 1, '\0');
  return settings.Get(key, index, bytes.data(), size, false) == noErr;
}

}  // namespace

CString* GetSettingsString(Settings& settings, unsigned long const& key, long const& index) {
  std::vector<char> bytes;
  // Bytes that begin with a NUL are no text: taken as "", they would be saved
  // back as no entry at all.
  if (!ReadEntry(settings, key, index, bytes) || bytes[0] == '\0') return nullptr;
  return new (std::nothrow) CString(bytes.data());
}

CFStringRef GetSettingsCFString(Settings& settings, unsigned long const& key,
                                long const& index) {
  std::vector<char> bytes;
  if (!ReadEntry(settings, key, index, bytes)) return nullptr;
  return ExtenalToCFString(reinterpret_cast<unsigned char*>(bytes.data()),
                           long(bytes.size() - 1));
}

unsigned char* CFStringToExternal(__CFString const* text, long* length) {
  if (length != nullptr) *length = 0;
  if (text == nullptr) return nullptr;
  CFDataRef external = CFStringCreateExternalRepresentation(kCFAllocatorDefault, text,
                                                            kCFStringEncodingUnicode, kLossByte);
  if (external == nullptr) return nullptr;
  const CFIndex size = CFDataGetLength(external);
  auto* bytes = new (std::nothrow) unsigned char[std::size_t(size)];
  if (bytes != nullptr) {
    std::memcpy(bytes, CFDataGetBytePtr(external), std::size_t(size));
    if (length != nullptr) *length = long(size);
  }
  CFRelease(external);
  return bytes;
}

CFStringRef ExtenalToCFString(unsigned char* bytes, long length) {
  if (bytes == nullptr || length < 0) return nullptr;
  CFDataRef external = CFDataCreate(kCFAllocatorDefault, bytes, CFIndex(length));
  if (external == nullptr) return nullptr;
  CFStringRef text =
      CFStringCreateFromExternalRepresentation(kCFAllocatorDefault, external, kCFStringEncodingUnicode);
  CFRelease(external);
  return text;
}
