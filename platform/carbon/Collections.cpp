#include "carbon/Collections.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <utility>

#include "carbon/MacErrors.h"
#include "carbon/MacMemory.h"
#include "carbon/OpaqueCollection.h"

namespace {

constexpr UInt32 kFlattenedSignature = FourCC("Coll");
constexpr UInt32 kFlattenedVersion = 1;
constexpr Size kHeaderSize = 12;
constexpr Size kItemHeaderSize = 16;

void PutBigEndian32(unsigned char* out, UInt32 value) {
  out[0] = static_cast<unsigned char>(value >> 24);
  out[1] = static_cast<unsigned char>(value >> 16);
  out[2] = static_cast<unsigned char>(value >> 8);
  out[3] = static_cast<unsigned char>(value);
}

UInt32 GetBigEndian32(const unsigned char* in) {
  return (UInt32(in[0]) << 24) | (UInt32(in[1]) << 16) | (UInt32(in[2]) << 8) | UInt32(in[3]);
}

bool IsValidData(SInt32 itemSize, const void* itemData) {
  return itemSize >= 0 && (itemSize == 0 || itemData != nullptr);
}

void StoreData(CollectionItem& item, SInt32 itemSize, const void* itemData) {
  item.data.Assign(itemData, std::size_t(itemSize));
}

void ReportInfo(const CollectionItem& item, SInt32* itemSize, SInt32* attributes) {
  if (itemSize != nullptr) *itemSize = SInt32(item.data.Size());
  if (attributes != nullptr) *attributes = item.attributes;
}

// One item of a flattened block, pointing into the block.
struct FlatItem {
  CollectionTag tag;
  SInt32 id;
  SInt32 attributes;
  SInt32 length;
  const unsigned char* data;
};

// Reads the item at offset; false when its header or data would run past size.
bool ReadFlatItem(const unsigned char* block, Size size, Size& offset, FlatItem& item) {
  if (size - offset < kItemHeaderSize) return false;
  const unsigned char* header = block + offset;
  item.tag = GetBigEndian32(header);
  item.id = SInt32(GetBigEndian32(header + 4));
  item.attributes = SInt32(GetBigEndian32(header + 8));
  item.length = SInt32(GetBigEndian32(header + 12));
  offset += kItemHeaderSize;
  if (item.length < 0 || size - offset < item.length) return false;
  item.data = block + offset;
  offset += item.length;
  return true;
}

// The header of a flattened block; the number of items it announces.
OSErr CheckHeader(const unsigned char* block, Size size, UInt32& count) {
  if (size < kHeaderSize) return paramErr;
  if (GetBigEndian32(block) != kFlattenedSignature ||
      GetBigEndian32(block + 4) != kFlattenedVersion)
    return collectionVersionErr;
  count = GetBigEndian32(block + 8);
  if (UInt64(count) * kItemHeaderSize > UInt64(size - kHeaderSize)) return paramErr;
  return noErr;
}

Size FlattenedSize(const OpaqueCollection& collection) {
  Size size = kHeaderSize;
  collection.ForEach(
      [&size](const CollectionItem& item) { size += kItemHeaderSize + Size(item.data.Size()); });
  return size;
}

void WriteFlattened(OpaqueCollection& collection, unsigned char* out) {
  PutBigEndian32(out, kFlattenedSignature);
  PutBigEndian32(out + 4, kFlattenedVersion);
  PutBigEndian32(out + 8, UInt32(collection.Count()));
  out += kHeaderSize;
  collection.ForEach([&out](const CollectionItem& item) {
    PutBigEndian32(out, item.tag);
    PutBigEndian32(out + 4, UInt32(item.id));
    PutBigEndian32(out + 8, UInt32(item.attributes));
    PutBigEndian32(out + 12, UInt32(item.data.Size()));
    out += kItemHeaderSize;
    std::memcpy(out, item.data.Data(), item.data.Size());
    out += item.data.Size();
  });
}

}  // namespace

Collection NewCollection() { return new OpaqueCollection(); }

void DisposeCollection(Collection c) { delete c; }

Collection CopyCollection(Collection srcCollection, Collection dstCollection) {
  if (srcCollection == nullptr || dstCollection == nullptr) return nullptr;
  dstCollection->CopyFrom(*srcCollection);
  return dstCollection;
}

OSErr AddCollectionItem(Collection c, CollectionTag tag, SInt32 id, SInt32 itemSize,
                        const void* itemData) {
  if (c == nullptr || !IsValidData(itemSize, itemData)) return paramErr;
  StoreData(c->Obtain(tag, id), itemSize, itemData);
  return noErr;
}

OSErr GetCollectionItem(Collection c, CollectionTag tag, SInt32 id, SInt32* itemSize,
                        void* itemData) {
  if (c == nullptr || (itemSize != nullptr && *itemSize < 0)) return paramErr;
  const CollectionItem* item = c->Find(tag, id);
  if (item == nullptr) return collectionItemNotFoundErr;
  SInt32 size = SInt32(item->data.Size());
  if (itemData != nullptr) {
    if (itemSize != nullptr) size = std::min(size, *itemSize);
    std::memcpy(itemData, item->data.Data(), std::size_t(size));
  }
  if (itemSize != nullptr) *itemSize = size;
  return noErr;
}

OSErr GetCollectionItemBytes(Collection c, CollectionTag tag, SInt32 id, const void** itemData,
                             SInt32* itemSize) {
  if (c == nullptr) return paramErr;
  const CollectionItem* item = c->Find(tag, id);
  if (item == nullptr) return collectionItemNotFoundErr;
  if (itemData != nullptr) *itemData = item->data.Data();
  if (itemSize != nullptr) *itemSize = SInt32(item->data.Size());
  return noErr;
}

OSErr RemoveCollectionItem(Collection c, CollectionTag tag, SInt32 id) {
  if (c == nullptr) return paramErr;
  if (!c->Remove(tag, id)) return collectionItemNotFoundErr;
  return noErr;
}

OSErr GetCollectionItemInfo(Collection c, CollectionTag tag, SInt32 id, SInt32* index,
                            SInt32* itemSize, SInt32* attributes) {
  if (c == nullptr) return paramErr;
  const CollectionItem* item = c->Find(tag, id);
  if (item == nullptr) return collectionItemNotFoundErr;
  // Only a caller that asks for the position pays for closing removal holes.
  if (index != nullptr) *index = c->IndexOf(*item);
  ReportInfo(*item, itemSize, attributes);
  return noErr;
}

OSErr SetCollectionItemInfo(Collection c, CollectionTag tag, SInt32 id, SInt32 whichAttributes,
                            SInt32 newAttributes) {
  if (c == nullptr) return paramErr;
  CollectionItem* item = c->Find(tag, id);
  if (item == nullptr) return collectionItemNotFoundErr;
  item->attributes = (item->attributes & ~whichAttributes) | (newAttributes & whichAttributes);
  return noErr;
}

OSErr ReplaceIndexedCollectionItem(Collection c, SInt32 index, SInt32 itemSize,
                                   const void* itemData) {
  if (c == nullptr || !IsValidData(itemSize, itemData)) return paramErr;
  CollectionItem* item = c->At(index);
  if (item == nullptr) return collectionIndexRangeErr;
  StoreData(*item, itemSize, itemData);
  return noErr;
}

OSErr GetIndexedCollectionItemInfo(Collection c, SInt32 index, CollectionTag* tag, SInt32* id,
                                   SInt32* itemSize, SInt32* attributes) {
  if (c == nullptr) return paramErr;
  const CollectionItem* item = c->At(index);
  if (item == nullptr) return collectionIndexRangeErr;
  if (tag != nullptr) *tag = item->tag;
  if (id != nullptr) *id = item->id;
  ReportInfo(*item, itemSize, attributes);
  return noErr;
}

SInt32 CountCollectionItems(Collection c) { return c == nullptr ? 0 : c->Count(); }

OSErr FlattenCollectionToHdl(Collection c, Handle flattened) {
  if (c == nullptr || flattened == nullptr) return paramErr;
  c->Settle();
  SetHandleSize(flattened, FlattenedSize(*c));
  if (MemError() != noErr) return MemError();
  WriteFlattened(*c, reinterpret_cast<unsigned char*>(*flattened));
  return noErr;
}

OSErr UnflattenCollectionFromHdl(Collection c, Handle flattened) {
  if (c == nullptr || flattened == nullptr) return paramErr;
  Size size = GetHandleSize(flattened);
  UInt32 count = 0;
  OSErr checked = CheckHeader(reinterpret_cast<const unsigned char*>(*flattened), size, count);
  if (checked != noErr) return checked;
  // One copy of the whole block, which the items point into: the filter or
  // the index settles repeated keys when a question needs it. The items are
  // checked as they are appended, in one pass over the copy; a bad one takes
  // them all back.
  std::shared_ptr<unsigned char[]> kept(new unsigned char[std::size_t(size)]);
  std::memcpy(kept.get(), *flattened, std::size_t(size));
  const std::size_t first = c->BeginAppend(count);
  Size offset = kHeaderSize;
  FlatItem flat{};
  UInt32 read = 0;
  for (; read < count && ReadFlatItem(kept.get(), size, offset, flat); ++read)
    c->Append(flat.tag, flat.id, flat.attributes, flat.data, std::size_t(flat.length));
  const bool good = read == count && offset == size;
  c->EndAppend(first, good);
  if (!good) return paramErr;
  c->Keep(std::move(kept));
  return noErr;
}
