#pragma once
// The whole of one settings entry, followed by a NUL. Most entries are short
// (keywords, names, feature code): those are read in one call into a buffer
// on the stack; a longer one goes to the heap. One keyed read either way.

#include <cstddef>
#include <vector>

class Settings;

class SettingsEntryBytes {
 public:
  SettingsEntryBytes() = default;
  SettingsEntryBytes(const SettingsEntryBytes&) = delete;
  SettingsEntryBytes& operator=(const SettingsEntryBytes&) = delete;

  // False when the entry is missing, empty or unreadable.
  bool Read(Settings& settings, unsigned long key, long index);
  char* Data() { return mData; }
  long Size() const { return mSize; }

 private:
  static constexpr long kLocalSize = 256;

  char mLocal[kLocalSize];
  std::vector<char> mHeap;
  char* mData = mLocal;
  long mSize = 0;
};
