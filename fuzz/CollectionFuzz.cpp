// A flattened collection is the Settings blob that travels in print tickets, so
// its bytes may come from anywhere. Any block must be read or refused cleanly;
// what is read must flatten to a form that reads back to the same bytes and
// answer every question as the same block does through the keyed index,
// repeated keys or not, and a settings store over the block must walk and
// hand out its texts safely.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "FuzzCheck.h"
#include "carbon/Collections.h"
#include "carbon/MacErrors.h"
#include "carbon/MacMemory.h"
#include "foundation/CString.h"
#include "foundation/Settings.h"
#include "foundation/SettingsStrings.h"
#include "support/CollectionAnswers.h"

namespace {

struct HandleDisposer {
  void operator()(char** handle) const { DisposeHandle(handle); }
};
using OwnedHandle = std::unique_ptr<char*, HandleDisposer>;

struct CollectionDisposer {
  void operator()(OpaqueCollection* collection) const { DisposeCollection(collection); }
};
using OwnedCollection = std::unique_ptr<OpaqueCollection, CollectionDisposer>;

OwnedHandle HandleWith(const uint8_t* bytes, size_t size) {
  OwnedHandle handle(NewHandle(Size(size)));
  FUZZ_CHECK(handle != nullptr);
  if (size > 0) std::memcpy(*handle, bytes, size);
  return handle;
}

OwnedHandle Flatten(Collection collection) {
  OwnedHandle flattened(NewHandle(0));
  FUZZ_CHECK(flattened != nullptr);
  FUZZ_CHECK(FlattenCollectionToHdl(collection, flattened.get()) == noErr);
  return flattened;
}

bool SameBytes(Handle a, Handle b) {
  const Size size = GetHandleSize(a);
  return size == GetHandleSize(b) && std::memcmp(*a, *b, size_t(size)) == 0;
}

void CheckFlattenRoundTrip(Collection collection) {
  OwnedHandle flattened = Flatten(collection);
  OwnedCollection again(NewCollection());
  FUZZ_CHECK(UnflattenCollectionFromHdl(again.get(), flattened.get()) == noErr);
  FUZZ_CHECK(CountCollectionItems(again.get()) == CountCollectionItems(collection));
  OwnedHandle reflattened = Flatten(again.get());
  FUZZ_CHECK(SameBytes(flattened.get(), reflattened.get()));
}

// Reads every entry the way a rebuilding option model does: as plain text, as a
// platform string and as raw bytes sized by the store itself, numbers and file
// locations brought into this machine's byte order.
void ReadEntry(Settings& settings, unsigned long key, long index, long size) {
  delete GetSettingsString(settings, key, index);
  if (CFStringRef text = GetSettingsCFString(settings, key, index)) CFRelease(text);
  std::unique_ptr<char[]> bytes(new char[size_t(size)]);
  long capacity = size;
  const bool fix = size == 2 || size == 4 || size == 70;
  FUZZ_CHECK(settings.Get(key, index, bytes.get(), capacity, fix) == noErr);
  FUZZ_CHECK(capacity == size);
}

void WalkSettings(const uint8_t* bytes, size_t size) {
  OwnedHandle block = HandleWith(bytes, size);
  Settings settings(block.get());
  unsigned long key = 0;
  long index = 0;
  long entrySize = 0;
  unsigned long attributes = 0;
  long visited = 0;
  for (short result = settings.First(key, index, entrySize, attributes); result == noErr;
       result = settings.Next(key, index, entrySize, attributes)) {
    ReadEntry(settings, key, index, entrySize);
    ++visited;
  }
  FUZZ_CHECK(visited == settings.Count());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  OwnedHandle block = HandleWith(bytes, size);
  OwnedCollection collection(NewCollection());
  OwnedCollection indexed(NewCollection());
  const OSErr unflattened = UnflattenCollectionFromHdl(collection.get(), block.get());
  FUZZ_CHECK(collectionanswers::UnflattenTwice(indexed.get(), block.get()) == unflattened);
  FUZZ_CHECK(collectionanswers::FirstDifferentAnswer(collection.get(), indexed.get()).empty());
  if (unflattened == noErr)
    CheckFlattenRoundTrip(collection.get());
  else
    FUZZ_CHECK(CountCollectionItems(collection.get()) == 0);
  WalkSettings(bytes, size);
  return 0;
}
