#pragma once
// The store behind a Collection. Items live in one vector in the order they were
// added; a hash index finds an item's slot from its (tag, id). Removing an item only
// marks its slot, so removal stays constant time; the marked slots are squeezed
// out in one pass before the next positional question, after which index k is
// simply slot k - 1 and sequential walks cost nothing extra.
//
// Unflattened items are appended as they stand, their bytes left in the kept
// block, and enter the index only when a question by key, position or count
// is asked: then an item whose tag and id came before gives its bytes and
// attributes to the earlier one and goes, as if it had been added over it.

#include <cstddef>
#include <memory>
#include <vector>

#include "carbon/CollectionBytes.h"
#include "carbon/CollectionSlotIndex.h"
#include "carbon/MacTypes.h"

struct CollectionItem {
  FourCharCode tag = 0;
  SInt32 id = 0;
  SInt32 attributes = 0;
  bool removed = false;
  CollectionBytes data;
};

struct OpaqueCollection {
  // Null when there is no such item.
  CollectionItem* Find(FourCharCode tag, SInt32 id);

  // index counts from 1; null when out of range.
  CollectionItem* At(SInt32 index);

  // 1-based position of an existing item.
  SInt32 IndexOf(const CollectionItem& item);

  // Appends a new item, or returns the existing one with this tag and id.
  CollectionItem& Obtain(FourCharCode tag, SInt32 id);

  // Appends an item whose bytes lie in `block` (kept from now on) without
  // looking for an earlier one of that tag and id: the index settles that.
  void Append(FourCharCode tag, SInt32 id, SInt32 attributes, const unsigned char* bytes,
              std::size_t size);
  // The number of slots, removed items included: where the next Append goes.
  std::size_t SlotCount() const { return items_.size(); }
  // Takes back the items appended from `slot` on, which no question has seen.
  void DropAppended(std::size_t slot);
  // Keeps a block that appended items point into.
  void Keep(std::shared_ptr<const unsigned char[]> block);

  // False when there is no such item.
  bool Remove(FourCharCode tag, SInt32 id);

  SInt32 Count();
  void Reserve(std::size_t additionalItems);
  void CopyFrom(const OpaqueCollection& other);

  // Indexes the appended items; every question but ForEach does it itself.
  void Settle() {
    if (indexed_ != items_.size()) IndexAppended();
  }

  // Visits the live items in order; Settle first.
  template <typename Visitor>
  void ForEach(Visitor visit) const {
    for (const CollectionItem& item : items_)
      if (!item.removed) visit(item);
  }

 private:
  // How far around the last item found Find looks before it hashes.
  static constexpr std::size_t kNear = 16;

  static UInt64 KeyOf(FourCharCode tag, SInt32 id) { return (UInt64(tag) << 32) | UInt32(id); }
  bool Holds(std::size_t slot, FourCharCode tag, SInt32 id) const {
    const CollectionItem& item = items_[slot];
    return item.tag == tag && item.id == id && !item.removed;
  }
  // The slot of the item within kNear of `slot`, or kNone.
  std::size_t FindNear(std::size_t slot, FourCharCode tag, SInt32 id) const;
  void IndexAppended();
  void Compact();
  void ForgetHints();

  std::vector<CollectionItem> items_;
  std::vector<std::shared_ptr<const unsigned char[]>> blocks_;
  CollectionSlotIndex slots_;
  std::size_t indexed_ = 0;  // items_ before this are in slots_
  std::size_t removedCount_ = 0;
  std::size_t recentSlots_[2] = {};  // where Find looks first; only hints
};
