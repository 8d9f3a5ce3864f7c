#include "foundation/Settings.h"

#include <algorithm>
#include <cstdint>

#include "carbon/MacErrors.h"
#include "carbon/MacMemory.h"
#include "foundation/DataStream.h"
#include "foundation/SettingsKeys.h"

namespace {

// Every saved document holds its property page count, a 4-byte number. No
// document has this many pages: a count above it was written byte-reversed.
constexpr UInt32 kMostPages = 10000;

constexpr long kFileLocationLength = 70;

// The collection's (tag, id) for a key and index; false when either does not fit
// in 32 bits, so that distinct entries never alias.
bool ToItemKey(unsigned long key, long index, CollectionTag& tag, SInt32& id) {
  if (key > UINT32_MAX || index < INT32_MIN || index > INT32_MAX) return false;
  tag = CollectionTag(key);
  id = SInt32(index);
  return true;
}

bool FitsItemSize(long size) { return size >= 0 && size <= INT32_MAX; }

void Reverse(unsigned char* bytes, long count) { std::reverse(bytes, bytes + count); }

// A file location swaps its volume reference and directory id; its name is text.
void SwapValue(void* data, long length) {
  auto* bytes = static_cast<unsigned char*>(data);
  if (length == kFileLocationLength) {
    Reverse(bytes, 2);
    Reverse(bytes + 2, 4);
  } else {
    Reverse(bytes, length);
  }
}

// A scratch memory block from the application heap, else from temporary memory.
class ScratchBlock {
 public:
  explicit ScratchBlock(Size size) : handle(NewHandle(size)), temporary(false) {
    if (handle != nullptr) return;
    OSErr ignored;
    handle = TempNewHandle(size, &ignored);
    temporary = true;
  }
  ~ScratchBlock() {
    OSErr ignored;
    if (temporary) TempDisposeHandle(handle, &ignored);
    else DisposeHandle(handle);
  }
  ScratchBlock(const ScratchBlock&) = delete;
  ScratchBlock& operator=(const ScratchBlock&) = delete;

  Handle handle;

 private:
  bool temporary;
};

Collection Duplicate(Collection source) {
  if (source == nullptr) return nullptr;
  return CopyCollection(source, NewCollection());
}

}  // namespace

Settings::Settings() : lastError(noErr), isValid(false), store(NewCollection()), position(0) {
  isValid = store != nullptr;
}

Settings::Settings(char** flattened) : Settings() {
  if (flattened == nullptr) Result(paramErr);
  else Result(UnflattenCollectionFromHdl(store, flattened));
}

Settings::Settings(OpaqueCollection*& collection)
    : lastError(noErr), isValid(collection != nullptr), store(collection), position(0) {
  collection = nullptr;
}

Settings::Settings(const Settings& other)
    : lastError(other.lastError),
      isValid(other.isValid),
      store(Duplicate(other.store)),
      position(other.position) {}

Settings& Settings::operator=(const Settings& other) {
  if (this == &other) return *this;
  Collection copy = Duplicate(other.store);
  DisposeCollection(store);
  store = copy;
  lastError = other.lastError;
  isValid = other.isValid;
  position = other.position;
  return *this;
}

Settings::~Settings() { DisposeCollection(store); }

short Settings::Result(short error) {
  lastError = error;
  return error;
}

short Settings::Locate(unsigned long key, long index, CollectionTag& tag, SInt32& id) const {
  if (store == nullptr) return kSettingsNoStoreErr;
  if (!ToItemKey(key, index, tag, id)) return paramErr;
  return noErr;
}

short Settings::Add(unsigned long const& key, long const& index, const void* data, long size) {
  CollectionTag tag;
  SInt32 id;
  const short located = Locate(key, index, tag, id);
  if (located != noErr) return Result(located);
  if (!FitsItemSize(size)) return Result(paramErr);
  return Result(AddCollectionItem(store, tag, id, SInt32(size), data));
}

short Settings::Get(unsigned long const& key, long const& index, void* data, long& size,
                    bool fix) {
  CollectionTag tag;
  SInt32 id;
  const short located = Locate(key, index, tag, id);
  if (located != noErr) return Result(located);
  SInt32 length = 0;
  OSErr error = GetCollectionItemInfo(store, tag, id, nullptr, &length, nullptr);
  if (error != noErr) return Result(error);
  // The bytes come from a stored blob: never trust them to fit the caller's buffer.
  const bool fits = length <= size;
  size = length;
  if (data != nullptr) {
    if (!fits) return Result(paramErr);
    GetCollectionItem(store, tag, id, nullptr, data);
  }
  if (!fix) return Result(noErr);
  return Result(FixByteOrder(data, length));
}

short Settings::FixByteOrder(void* data, long length) {
  if (length != 2 && length != 4 && length != kFileLocationLength) return kSettingsFixLengthErr;
  if (data != nullptr && WrittenInOtherByteOrder()) SwapValue(data, length);
  return noErr;
}

// Compared unsigned: a small count reversed is a large number whatever its sign.
bool Settings::WrittenInOtherByteOrder() {
  SInt32 size = 0;
  if (GetCollectionItemInfo(store, CollectionTag(kPropertyPageList.countKey),
                            SInt32(kPropertyPageList.countIndex), nullptr, &size,
                            nullptr) != noErr ||
      size != sizeof(UInt32))
    return false;
  UInt32 count = 0;
  GetCollectionItem(store, CollectionTag(kPropertyPageList.countKey),
                    SInt32(kPropertyPageList.countIndex), nullptr, &count);
  return count > kMostPages;
}

short Settings::Set(unsigned long const& key, long const& index, const void* data, long size) {
  CollectionTag tag;
  SInt32 id;
  const short located = Locate(key, index, tag, id);
  if (located != noErr) return Result(located);
  if (!FitsItemSize(size)) return Result(paramErr);
  OSErr error = GetCollectionItemInfo(store, tag, id, nullptr, nullptr, nullptr);
  if (error != noErr) return Result(error);
  return Result(AddCollectionItem(store, tag, id, SInt32(size), data));
}

short Settings::Remove(unsigned long const& key, long const& index) {
  CollectionTag tag;
  SInt32 id;
  const short located = Locate(key, index, tag, id);
  if (located != noErr) return Result(located);
  return Result(RemoveCollectionItem(store, tag, id));
}

short Settings::SetAttribute(unsigned long const& key, long const& index, unsigned long mask,
                             bool set) {
  CollectionTag tag;
  SInt32 id;
  const short located = Locate(key, index, tag, id);
  if (located != noErr) return Result(located);
  const SInt32 bits = SInt32(UInt32(mask));
  return Result(SetCollectionItemInfo(store, tag, id, bits, set ? bits : 0));
}

short Settings::Lock(unsigned long const& key, long const& index) {
  return SetAttribute(key, index, kCollectionLockMask, true);
}

short Settings::Unlock(unsigned long const& key, long const& index) {
  return SetAttribute(key, index, kCollectionLockMask, false);
}

short Settings::First(unsigned long& key, long& index, long& size, unsigned long& attributes) {
  position = 1;
  return ReadPosition(key, index, size, attributes);
}

short Settings::Next(unsigned long& key, long& index, long& size, unsigned long& attributes) {
  ++position;
  return ReadPosition(key, index, size, attributes);
}

short Settings::ReadPosition(unsigned long& key, long& index, long& size,
                             unsigned long& attributes) {
  key = 0;
  index = 0;
  size = 0;
  attributes = 0;
  if (store == nullptr) return Result(kSettingsNoStoreErr);
  if (Empty()) return Result(kSettingsEmptyErr);
  if (position > Count()) return Result(kSettingsPastEndErr);
  CollectionTag tag = 0;
  SInt32 id = 0, length = 0, bits = 0;
  OSErr error = GetIndexedCollectionItemInfo(store, SInt32(position), &tag, &id, &length, &bits);
  if (error != noErr) return Result(error);
  key = tag;
  index = id;
  size = length;
  attributes = UInt32(bits);
  return Result(noErr);
}

long Settings::Count() const { return store == nullptr ? 0 : CountCollectionItems(store); }

short Settings::GetSettingsHandle(char*** flattened) {
  if (flattened == nullptr) return Result(paramErr);
  *flattened = nullptr;
  if (store == nullptr) return Result(kSettingsNoStoreErr);
  Handle block = NewHandle(0);
  if (block == nullptr) return Result(memFullErr);
  OSErr error = FlattenCollectionToHdl(store, block);
  if (error != noErr) DisposeHandle(block);
  else *flattened = block;
  return Result(error);
}

short Settings::Save(DataStream* stream) {
  if (stream == nullptr || !stream->valid()) return Result(kSettingsStreamErr);
  if (store == nullptr) return Result(kSettingsNoStoreErr);
  ScratchBlock block(0);
  if (block.handle == nullptr) return Result(memFullErr);
  OSErr error = FlattenCollectionToHdl(store, block.handle);
  if (error != noErr) return Result(error);
  // A write the stream refuses must not pass for a saved document.
  if (!stream->out(*block.handle, GetHandleSize(block.handle))) return Result(kSettingsStreamErr);
  return Result(noErr);
}

short Settings::Read(DataStream* stream, unsigned long size) {
  if (stream == nullptr || !stream->valid()) return Result(kSettingsStreamErr);
  if (store == nullptr) return Result(kSettingsNoStoreErr);
  if (size == 0) size = stream->dataSize();
  if (size == 0) return Result(noErr);
  // A size from outside is never larger than what the stream holds.
  if (size > stream->dataSize()) return Result(eofErr);
  ScratchBlock block{Size(size)};
  if (block.handle == nullptr) return Result(memFullErr);
  unsigned long countRead = 0;
  short streamError = noErr;
  if (!stream->in(*block.handle, size, &countRead, &streamError))
    return Result(streamError != noErr ? streamError : short(kSettingsStreamErr));
  return Result(UnflattenCollectionFromHdl(store, block.handle));
}
