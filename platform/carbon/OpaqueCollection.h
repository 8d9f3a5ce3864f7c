#pragma once
// The store behind a Collection. Items live in one vector in the order they were
// added; a hash index finds an item's slot from its (tag, id). Removing an item only
// marks its slot, so removal stays constant time; the marked slots are squeezed
// out in one pass before the next positional question, after which index k is
// simply slot k - 1 and sequential walks cost nothing extra.

#include <cstddef>
#include <string>
#include <vector>

#include "carbon/CollectionSlotIndex.h"
#include "carbon/MacTypes.h"

struct CollectionItem {
  FourCharCode tag = 0;
  SInt32 id = 0;
  SInt32 attributes = 0;
  std::string data;  // small items fit in the string itself, without an allocation
  bool removed = false;
};

struct OpaqueCollection {
  // Null when there is no such item.
  CollectionItem* Find(FourCharCode tag, SInt32 id);

  // index counts from 1; null when out of range.
  CollectionItem* At(SInt32 index);

  // 1-based position of an existing item.
  SInt32 IndexOf(const CollectionItem& item);

  // Prepares an Obtain of this tag and id a few calls later.
  void Prefetch(FourCharCode tag, SInt32 id) const { slots_.Prefetch(KeyOf(tag, id)); }

  // Appends a new item, or returns the existing one with this tag and id.
  CollectionItem& Obtain(FourCharCode tag, SInt32 id);

  // False when there is no such item.
  bool Remove(FourCharCode tag, SInt32 id);

  SInt32 Count() const;
  void Reserve(std::size_t additionalItems);
  void CopyFrom(const OpaqueCollection& other);

  // Visits the live items in order.
  template <typename Visitor>
  void ForEach(Visitor visit) const {
    for (const CollectionItem& item : items_)
      if (!item.removed) visit(item);
  }

 private:
  // How far around the last item found Find looks before it hashes.
  static constexpr std::size_t kNear = 16;

  static UInt64 KeyOf(FourCharCode tag, SInt32 id);
  bool Holds(std::size_t slot, FourCharCode tag, SInt32 id) const;
  // The slot of the item within kNear of `slot`, or kNone.
  std::size_t FindNear(std::size_t slot, FourCharCode tag, SInt32 id) const;
  void Compact();

  std::vector<CollectionItem> items_;
  CollectionSlotIndex slots_;
  std::size_t removedCount_ = 0;
  std::size_t recentSlots_[2] = {};  // where Find looks first; only hints
};
