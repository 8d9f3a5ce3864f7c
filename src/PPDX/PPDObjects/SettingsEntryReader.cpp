#include "PPDX/PPDObjects/SettingsEntryReader.h"

#include <cstdlib>
#include <cstring>

#include "carbon/MacErrors.h"
#include "foundation/DocumentStorage.h"
#include "foundation/Settings.h"
#include "foundation/SettingsStrings.h"

SettingsEntryReader::SettingsEntryReader(Settings& settings, long index)
    : mSettings(settings), mIndex(index) {}

SettingsEntryReader& SettingsEntryReader::At(long index) {
  mIndex = index;
  return *this;
}

short SettingsEntryReader::Size(unsigned long key, long& size) {
  size = 0;
  return mSettings.Get(key, mIndex, nullptr, size, false);
}

// A small entry is read once, into a buffer of its expected size: Get refuses
// a longer one and says what it copied of a shorter one.
short SettingsEntryReader::Fixed(unsigned long key, void* data, long size) {
  unsigned char small[kSmallEntry];
  long stored = size;
  if (size >= 0 && size <= kSmallEntry) {
    const short error = mSettings.Get(key, mIndex, small, stored, true);
    if (error == noErr && stored == size) std::memcpy(data, small, size_t(size));
    if (error == noErr || error == paramErr || error == collectionItemNotFoundErr)
      return error == noErr && stored != size ? short(paramErr) : error;
  }
  // Entries of other lengths, and the codes that do not tell whether bytes came.
  stored = 0;
  const short error = Size(key, stored);
  if (error != noErr) return error;
  if (stored != size) return paramErr;
  return mSettings.Get(key, mIndex, data, stored, true);
}

bool SettingsEntryReader::Bytes(unsigned long key, unsigned char*& bytes, long& length,
                                DocumentStorage* storage) {
  const void* stored = nullptr;
  long size = 0;
  if (!View(key, stored, size)) return false;
  void* copy = storage != nullptr ? storage->Allocate(size_t(size)) : std::malloc(size_t(size));
  if (copy == nullptr) return false;
  std::memcpy(copy, stored, size_t(size));
  bytes = static_cast<unsigned char*>(copy);
  length = size;
  return true;
}

bool SettingsEntryReader::View(unsigned long key, const void*& bytes, long& length) {
  const void* stored = nullptr;
  long size = 0;
  if (mSettings.View(key, mIndex, stored, size) != noErr || size == 0) return false;
  bytes = stored;
  length = size;
  return true;
}

CString* SettingsEntryReader::Text(unsigned long key, DocumentStorage* storage) {
  return GetSettingsString(mSettings, key, mIndex, storage);
}

CFStringRef SettingsEntryReader::PlatformText(unsigned long key) {
  return GetSettingsCFString(mSettings, key, mIndex);
}
