#pragma once
// Reads back the frame of a saved list: its count and, for each index, which
// class wrote the entries there. A count comes from a blob that anyone may have
// written, so it is bounded by the entries the store actually holds: every saved
// list item writes at least one entry, except those a list allows to write none.

#include "cf/CoreFoundation.h"
#include "foundation/SettingsKeys.h"

class Settings;

class SettingsListReader {
 public:
  explicit SettingsListReader(Settings& settings);

  SettingsListReader(const SettingsListReader&) = delete;
  SettingsListReader& operator=(const SettingsListReader&) = delete;

  // The list's 4-byte count; 0 when it is missing, of another size or negative,
  // and never more than the store's number of entries plus `unsaved`, the most
  // items of the list that may have written no entry.
  long Count(const SavedListKeys& list, long unsaved = 0);

  // The position in `markers` of the first marker present at `index`, asked in
  // order by size; -1 when none is, or when a probe fails other than by a missing
  // entry.
  int Marker(long index, const unsigned long* markers, int markerCount);

 private:
  Settings& mSettings;
};
