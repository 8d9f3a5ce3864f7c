#include "foundation/Settings.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

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
  explicit ScratchBlock(Size size) : mHandle(NewHandle(size)), mTemporary(false) {
    if (mHandle != nullptr) return;
    OSErr ignored;
    mHandle = TempNewHandle(size, &ignored);
    mTemporary = true;
  }
  ~ScratchBlock() {
    OSErr ignored;
    if (mTemporary)
      TempDisposeHandle(mHandle, &ignored);
    else
      DisposeHandle(mHandle);
  }
  ScratchBlock(const ScratchBlock&) = delete;
  ScratchBlock& operator=(const ScratchBlock&) = delete;

  Handle mHandle;

 private:
  bool mTemporary;
};

Collection Duplicate(Collection source) {
  if (source == nullptr) return nullptr;
  return CopyCollection(source, NewCollection());
}

}  // namespace

Settings::Settings() : mLastError(noErr), mIsValid(false), mStore(NewCollection()), mPosition(0) {
  mIsValid = mStore != nullptr;
}

Settings::Settings(char** flattened) : Settings() {
  if (flattened == nullptr)
    Result(paramErr);
  else
    Result(UnflattenCollectionFromHdl(mStore, flattened));
}

Settings::Settings(OpaqueCollection*& collection)
    : mLastError(noErr), mIsValid(collection != nullptr), mStore(collection), mPosition(0) {
  collection = nullptr;
}

Settings::Settings(const Settings& other)
    : mLastError(other.mLastError),
      mIsValid(other.mIsValid),
      mStore(Duplicate(other.mStore)),
      mPosition(other.mPosition) {}

Settings& Settings::operator=(const Settings& other) {
  if (this == &other) return *this;
  Collection copy = Duplicate(other.mStore);
  DisposeCollection(mStore);
  mStore = copy;
  mLastError = other.mLastError;
  mIsValid = other.mIsValid;
  mPosition = other.mPosition;
  mByteOrder = ByteOrder::kUnknown;
  return *this;
}

Settings::~Settings() { DisposeCollection(mStore); }

short Settings::Result(short error) {
  mLastError = error;
  return error;
}

short Settings::Changed(short error) {
  mByteOrder = ByteOrder::kUnknown;
  return Result(error);
}

short Settings::Locate(unsigned long key, long index, CollectionTag& tag, SInt32& id) const {
  if (mStore == nullptr) return kSettingsNoStoreErr;
  if (!ToItemKey(key, index, tag, id)) return paramErr;
  return noErr;
}

short Settings::Add(unsigned long const& key, long const& index, const void* data, long size) {
  CollectionTag tag;
  SInt32 id;
  const short located = Locate(key, index, tag, id);
  if (located != noErr) return Result(located);
  if (!FitsItemSize(size)) return Result(paramErr);
  return Changed(AddCollectionItem(mStore, tag, id, SInt32(size), data));
}

short Settings::Get(unsigned long const& key, long const& index, void* data, long& size, bool fix) {
  const void* bytes = nullptr;
  long length = 0;
  const short error = View(key, index, bytes, length);
  if (error != noErr) return error;
  // The bytes come from a stored blob: never trust them to fit the caller's buffer.
  const bool fits = length <= size;
  size = length;
  if (data != nullptr) {
    if (!fits) return Result(paramErr);
    std::memcpy(data, bytes, std::size_t(length));
  }
  if (!fix) return Result(noErr);
  return Result(FixByteOrder(data, length));
}

short Settings::View(unsigned long const& key, long const& index, const void*& data, long& size) {
  CollectionTag tag;
  SInt32 id;
  const short located = Locate(key, index, tag, id);
  if (located != noErr) return Result(located);
  SInt32 length = 0;
  const OSErr error = GetCollectionItemBytes(mStore, tag, id, &data, &length);
  if (error != noErr) return Result(error);
  size = length;
  return Result(noErr);
}

short Settings::FixByteOrder(void* data, long length) {
  if (length != 2 && length != 4 && length != kFileLocationLength) return kSettingsFixLengthErr;
  if (data != nullptr && WrittenInOtherByteOrder()) SwapValue(data, length);
  return noErr;
}

// Compared unsigned: a small count reversed is a large number whatever its sign.
bool Settings::WrittenInOtherByteOrder() {
  if (mByteOrder == ByteOrder::kUnknown)
    mByteOrder = CountReadsReversed() ? ByteOrder::kOther : ByteOrder::kSame;
  return mByteOrder == ByteOrder::kOther;
}

bool Settings::CountReadsReversed() const {
  SInt32 size = 0;
  if (GetCollectionItemInfo(mStore, CollectionTag(kPropertyPageList.countKey),
                            SInt32(kPropertyPageList.countIndex), nullptr, &size,
                            nullptr) != noErr ||
      size != sizeof(UInt32))
    return false;
  UInt32 count = 0;
  GetCollectionItem(mStore, CollectionTag(kPropertyPageList.countKey),
                    SInt32(kPropertyPageList.countIndex), nullptr, &count);
  return count > kMostPages;
}

short Settings::Set(unsigned long const& key, long const& index, const void* data, long size) {
  CollectionTag tag;
  SInt32 id;
  const short located = Locate(key, index, tag, id);
  if (located != noErr) return Result(located);
  if (!FitsItemSize(size)) return Result(paramErr);
  OSErr error = GetCollectionItemInfo(mStore, tag, id, nullptr, nullptr, nullptr);
  if (error != noErr) return Result(error);
  return Changed(AddCollectionItem(mStore, tag, id, SInt32(size), data));
}

short Settings::Remove(unsigned long const& key, long const& index) {
  CollectionTag tag;
  SInt32 id;
  const short located = Locate(key, index, tag, id);
  if (located != noErr) return Result(located);
  return Changed(RemoveCollectionItem(mStore, tag, id));
}

short Settings::SetAttribute(unsigned long const& key, long const& index, unsigned long mask,
                             bool set) {
  CollectionTag tag;
  SInt32 id;
  const short located = Locate(key, index, tag, id);
  if (located != noErr) return Result(located);
  const SInt32 bits = SInt32(UInt32(mask));
  return Result(SetCollectionItemInfo(mStore, tag, id, bits, set ? bits : 0));
}

short Settings::Lock(unsigned long const& key, long const& index) {
  return SetAttribute(key, index, kCollectionLockMask, true);
}

short Settings::Unlock(unsigned long const& key, long const& index) {
  return SetAttribute(key, index, kCollectionLockMask, false);
}

short Settings::First(unsigned long& key, long& index, long& size, unsigned long& attributes) {
  mPosition = 1;
  return ReadPosition(key, index, size, attributes);
}

short Settings::Next(unsigned long& key, long& index, long& size, unsigned long& attributes) {
  ++mPosition;
  return ReadPosition(key, index, size, attributes);
}

short Settings::ReadPosition(unsigned long& key, long& index, long& size,
                             unsigned long& attributes) {
  key = 0;
  index = 0;
  size = 0;
  attributes = 0;
  if (mStore == nullptr) return Result(kSettingsNoStoreErr);
  if (Empty()) return Result(kSettingsEmptyErr);
  if (mPosition > Count()) return Result(kSettingsPastEndErr);
  CollectionTag tag = 0;
  SInt32 id = 0, length = 0, bits = 0;
  OSErr error = GetIndexedCollectionItemInfo(mStore, SInt32(mPosition), &tag, &id, &length, &bits);
  if (error != noErr) return Result(error);
  key = tag;
  index = id;
  size = length;
  attributes = UInt32(bits);
  return Result(noErr);
}

long Settings::Count() const { return mStore == nullptr ? 0 : CountCollectionItems(mStore); }

short Settings::GetSettingsHandle(char*** flattened) {
  if (flattened == nullptr) return Result(paramErr);
  *flattened = nullptr;
  if (mStore == nullptr) return Result(kSettingsNoStoreErr);
  Handle block = NewHandle(0);
  if (block == nullptr) return Result(memFullErr);
  OSErr error = FlattenCollectionToHdl(mStore, block);
  if (error != noErr)
    DisposeHandle(block);
  else
    *flattened = block;
  return Result(error);
}

short Settings::Save(DataStream* stream) {
  if (stream == nullptr || !stream->valid()) return Result(kSettingsStreamErr);
  if (mStore == nullptr) return Result(kSettingsNoStoreErr);
  ScratchBlock block(0);
  if (block.mHandle == nullptr) return Result(memFullErr);
  OSErr error = FlattenCollectionToHdl(mStore, block.mHandle);
  if (error != noErr) return Result(error);
  // A write the stream refuses must not pass for a saved document.
  if (!stream->out(*block.mHandle, GetHandleSize(block.mHandle))) return Result(kSettingsStreamErr);
  return Result(noErr);
}

short Settings::Read(DataStream* stream, unsigned long size) {
  if (stream == nullptr || !stream->valid()) return Result(kSettingsStreamErr);
  if (mStore == nullptr) return Result(kSettingsNoStoreErr);
  if (size == 0) size = stream->dataSize();
  if (size == 0) return Result(noErr);
  // A size from outside is never larger than what the stream holds.
  if (size > stream->dataSize()) return Result(eofErr);
  ScratchBlock block{Size(size)};
  if (block.mHandle == nullptr) return Result(memFullErr);
  unsigned long countRead = 0;
  short streamError = noErr;
  if (!stream->in(*block.mHandle, size, &countRead, &streamError))
    return Result(streamError != noErr ? streamError : short(kSettingsStreamErr));
  return Changed(UnflattenCollectionFromHdl(mStore, block.mHandle));
}
