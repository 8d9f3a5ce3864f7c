#pragma once
// The platform's Collection Manager: a collection holds items addressed by a tag
// (a four-character code) and a 32-bit id, each with its data bytes and 32
// attribute bits. Items keep the order in which they were first added; indexed
// calls count from 1 in that order.
//
// Lookup by (tag, id) is constant time on average. Removal leaves a hole that the
// next indexed call closes in one linear pass, so walks by index stay constant
// time per step however many items went before.
//
// The flattened form is our own: a 12-byte header (signature "Coll", format
// version, item count) followed by each item as tag, id, attributes, length and
// the data bytes; every number is 32 bits, big-endian. A block whose signature or
// version is unknown gives collectionVersionErr; a truncated or inconsistent one
// gives paramErr. Either way the collection is left exactly as it was.

#include "carbon/MacTypes.h"

struct OpaqueCollection;
typedef OpaqueCollection* Collection;
typedef FourCharCode CollectionTag;

// The lock bit only marks an item; this stand-in does not refuse to change it.
constexpr UInt32 kCollectionLockBit = 31;
constexpr UInt32 kCollectionLockMask = UInt32(1) << kCollectionLockBit;

Collection NewCollection();
void DisposeCollection(Collection c);

// Empties dstCollection and fills it with copies of the items of srcCollection.
// Returns dstCollection, or null when either is null.
Collection CopyCollection(Collection srcCollection, Collection dstCollection);

// Adds an item at the end, or replaces the data of the item with the same tag and
// id where it stands (its attributes are kept). A new item has no attributes.
OSErr AddCollectionItem(Collection c, CollectionTag tag, SInt32 id, SInt32 itemSize,
                        const void* itemData);

// With itemData null: *itemSize receives the item's size. Otherwise copies at most
// *itemSize bytes (the whole item when itemSize is null) and stores the count
// copied in *itemSize.
OSErr GetCollectionItem(Collection c, CollectionTag tag, SInt32 id, SInt32* itemSize,
                        void* itemData);

// Not of the platform: the item's bytes where the collection keeps them, without
// a copy; they stay valid until the collection next changes. Outputs may be null.
OSErr GetCollectionItemBytes(Collection c, CollectionTag tag, SInt32 id, const void** itemData,
                             SInt32* itemSize);

OSErr RemoveCollectionItem(Collection c, CollectionTag tag, SInt32 id);

// Outputs may be null. index counts from 1.
OSErr GetCollectionItemInfo(Collection c, CollectionTag tag, SInt32 id, SInt32* index,
                            SInt32* itemSize, SInt32* attributes);

// The attribute bits selected by whichAttributes take their values from
// newAttributes; the others are kept.
OSErr SetCollectionItemInfo(Collection c, CollectionTag tag, SInt32 id, SInt32 whichAttributes,
                            SInt32 newAttributes);

OSErr ReplaceIndexedCollectionItem(Collection c, SInt32 index, SInt32 itemSize,
                                   const void* itemData);

OSErr GetIndexedCollectionItemInfo(Collection c, SInt32 index, CollectionTag* tag, SInt32* id,
                                   SInt32* itemSize, SInt32* attributes);

SInt32 CountCollectionItems(Collection c);

// Resizes flattened to hold the flattened form of c and writes it there.
OSErr FlattenCollectionToHdl(Collection c, Handle flattened);

// Adds the items of a flattened block to c; an item whose tag and id c already
// holds is replaced, data and attributes. Nothing is read outside the block.
OSErr UnflattenCollectionFromHdl(Collection c, Handle flattened);
