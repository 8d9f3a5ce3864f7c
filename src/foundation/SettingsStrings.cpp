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

// The whole of an entry, followed by a NUL. Most entries are short texts read
// once into a new string: those are read on the stack.
class EntryBytes {
 public:
  // False when the entry is missing, empty or unreadable.
  bool Read(Settings& settings, unsigned long key, long index) {
    long size = 0;
    if (settings.Get(key, index, nullptr, size, false) != noErr || size == 0) return false;
    if (std::size_t(size) >= sizeof(mLocal)) {
      mHeap.assign(std::size_t(size) + 1, '\0');
      mData = mHeap.data();
    }
    mData[size] = '\0';
    mSize = size;
    return settings.Get(key, index, mData, size, false) == noErr;
  }
  char* Data() { return mData; }
  long Size() const { return mSize; }

 private:
  char mLocal[256];
  std::vector<char> mHeap;
  char* mData = mLocal;
  long mSize = 0;
};

}  // namespace

CString* GetSettingsString(Settings& settings, unsigned long const& key, long const& index) {
  EntryBytes bytes;
  // Bytes that begin with a NUL are no text: taken as "", they would be saved
  // back as no entry at all.
  if (!bytes.Read(settings, key, index) || bytes.Data()[0] == '\0') return nullptr;
  return new (std::nothrow) CString(bytes.Data());
}

CFStringRef GetSettingsCFString(Settings& settings, unsigned long const& key,
                                long const& index) {
  EntryBytes bytes;
  if (!bytes.Read(settings, key, index)) return nullptr;
  return ExtenalToCFString(reinterpret_cast<unsigned char*>(bytes.Data()), bytes.Size());
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

// Reads the bytes as an external representation, as
// CFStringCreateFromExternalRepresentation does, without first copying them
// into a data object.
CFStringRef ExtenalToCFString(unsigned char* bytes, long length) {
  if (bytes == nullptr || length < 0) return nullptr;
  return CFStringCreateWithBytes(kCFAllocatorDefault, bytes, CFIndex(length),
                                 kCFStringEncodingUnicode, true);
}
