#include "foundation/SettingsEntryBytes.h"

#include "carbon/MacErrors.h"
#include "foundation/Settings.h"

bool SettingsEntryBytes::Read(Settings& settings, unsigned long key, long index) {
  long size = kLocalSize - 1;
  short error = settings.Get(key, index, mLocal, size, false);
  // Too long for the stack: `size` now holds the entry's length.
  if (error == paramErr && size >= kLocalSize) {
    mHeap.assign(std::size_t(size) + 1, '\0');
    mData = mHeap.data();
    error = settings.Get(key, index, mData, size, false);
  }
  if (error != noErr || size == 0) return false;
  mData[size] = '\0';
  mSize = size;
  return true;
}
