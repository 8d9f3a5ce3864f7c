#include "foundation/SettingsEntryBytes.h"

#include <cstring>

#include "carbon/MacErrors.h"
#include "foundation/Settings.h"

bool SettingsEntryBytes::Read(Settings& settings, unsigned long key, long index) {
  const void* bytes = nullptr;
  long size = 0;
  if (settings.View(key, index, bytes, size) != noErr || size == 0) return false;
  // Too long for the stack: the heap holds it.
  if (size >= kLocalSize) {
    mHeap.assign(std::size_t(size) + 1, '\0');
    mData = mHeap.data();
  }
  std::memcpy(mData, bytes, std::size_t(size));
  mData[size] = '\0';
  mSize = size;
  return true;
}
