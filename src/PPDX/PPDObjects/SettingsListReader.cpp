#include "PPDX/PPDObjects/SettingsListReader.h"

#include "PPDX/PPDObjects/SettingsEntryReader.h"
#include "carbon/MacErrors.h"
#include "foundation/Settings.h"

SettingsListReader::SettingsListReader(Settings& settings) : mSettings(settings) {}

long SettingsListReader::Count(const SavedListKeys& list, long unsaved) {
  SInt32 count = 0;
  if (!SettingsEntryReader(mSettings, list.countIndex).Number(list.countKey, count) || count < 0)
    return 0;
  const long most = mSettings.Count() + unsaved;
  return count < most ? count : most;
}

int SettingsListReader::Marker(long index, const unsigned long* markers, int markerCount) {
  SettingsEntryReader reader(mSettings, index);
  for (int i = 0; i < markerCount; ++i) {
    long size = 0;
    const short error = reader.Size(markers[i], size);
    if (error == noErr) return i;
    if (error != collectionItemNotFoundErr) return -1;
  }
  return -1;
}
