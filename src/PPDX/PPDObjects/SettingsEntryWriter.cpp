#include "PPDX/PPDObjects/SettingsEntryWriter.h"

#include <cstring>

#include "carbon/MacErrors.h"
#include "foundation/Settings.h"
#include "foundation/SettingsStrings.h"

SettingsEntryWriter::SettingsEntryWriter(Settings& settings, long index)
    : mSettings(settings), mIndex(index), mError(noErr) {}

SettingsEntryWriter& SettingsEntryWriter::At(long index) {
  mIndex = index;
  return *this;
}

SettingsEntryWriter& SettingsEntryWriter::Bytes(unsigned long key, const void* data, long size) {
  if (mError == noErr) mError = mSettings.Add(key, mIndex, data, size);
  return *this;
}

SettingsEntryWriter& SettingsEntryWriter::Text(unsigned long key, const char* text) {
  if (text == nullptr) return *this;
  return Bytes(key, text, long(std::strlen(text)));
}

SettingsEntryWriter& SettingsEntryWriter::PlatformText(unsigned long key, CFStringRef text) {
  if (text == nullptr || mError != noErr) return *this;
  long length = 0;
  unsigned char* external = CFStringToExternal(text, &length);
  if (external == nullptr) {
    Fail(memFullErr);
    return *this;
  }
  Bytes(key, external, length);
  delete[] external;
  return *this;
}

void SettingsEntryWriter::Fail(short error) {
  if (mError == noErr) mError = error;
}
