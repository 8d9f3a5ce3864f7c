#include "foundation/SettingsStrings.h"

#include <cstring>

#include "carbon/MacErrors.h"
#include "cf/CFRef.h"
#include "foundation/CString.h"
#include "foundation/DocumentStorage.h"
#include "foundation/Settings.h"
#include "foundation/SettingsEntryBytes.h"

namespace {

// Loss byte for characters the encoding cannot hold.
constexpr UInt8 kLossByte = '?';

}  // namespace

CString* GetSettingsString(Settings& settings, unsigned long const& key, long const& index,
                           DocumentStorage* storage) {
  SettingsEntryBytes bytes;
  // Bytes that begin with a NUL are no text: taken as "", they would be saved
  // back as no entry at all.
  if (!bytes.Read(settings, key, index) || bytes.Data()[0] == '\0') return nullptr;
  if (storage != nullptr) return storage->Make<CString>(bytes.Data(), *storage);
  return new CString(bytes.Data());
}

CFStringRef GetSettingsCFString(Settings& settings, unsigned long const& key, long const& index) {
  SettingsEntryBytes bytes;
  if (!bytes.Read(settings, key, index)) return nullptr;
  return ExtenalToCFString(reinterpret_cast<unsigned char*>(bytes.Data()), bytes.Size());
}

unsigned char* CFStringToExternal(__CFString const* text, long* length) {
  if (length != nullptr) *length = 0;
  if (text == nullptr) return nullptr;
  CFRef<CFDataRef> external(CFStringCreateExternalRepresentation(
      kCFAllocatorDefault, text, kCFStringEncodingUnicode, kLossByte));
  if (!external) return nullptr;
  const CFIndex size = CFDataGetLength(external.get());
  auto* bytes = new unsigned char[std::size_t(size)];
  std::memcpy(bytes, CFDataGetBytePtr(external.get()), std::size_t(size));
  if (length != nullptr) *length = long(size);
  return bytes;
}

// Reads the bytes as an external representation, as
// CFStringCreateFromExternalRepresentation does, without first copying them
// into a data object.
CFStringRef ExtenalToCFString(unsigned char* bytes, long length) {
  if (bytes == nullptr || length < 0) return nullptr;
  return CFStringCreateWithBytes(kCFAllocatorDefault, bytes, CFIndex(length),
                                 kCFStringEncodingUnicode, true);
}
