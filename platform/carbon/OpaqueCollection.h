#pragma once
// The store behind a Collection. Items live in one vector in the order they were
// added; a hash index finds an item's slot from its (tag, id). Removing an item only
// marks its slot, so removal stays constant time; the marked slots are squeezed
// out in one pass before the next positional question, after which index k is
// simply slot k - 1 and sequential walks cost nothing extra.
//
// Unflattened items are appended as they stand, their bytes left in the kept
// block, and enter the index only when a question needs it: then an item whose
// tag and id came before gives its bytes and attributes to the earlier one and
// goes, as if it had been added over it. A block unflattened into an empty
// collection fills a key filter as it is appended; when the filter shows that
// no tag and id came twice, the items are already in their final places, and
// questions are answered without the index: by position directly, by key from
// the items around the last one found (or, a few times, a walk from the
// first), "no such item" from the filter. Only a change, or more keys far from
// the last one found than walks allow, builds the index.

#include <cstddef>
#include <memory>
#include <vector>

#include "carbon/CollectionBytes.h"
#include "carbon/CollectionKeyFilter.h"
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

  // Starts appending a block of `count` items; returns where the first goes.
  std::size_t BeginAppend(std::size_t count);
  // Appends an item whose bytes lie in a block kept with Keep, without looking
  // for an earlier one of that tag and id: the filter or the index settles that.
  void Append(FourCharCode tag, SInt32 id, SInt32 attributes, const unsigned char* bytes,
              std::size_t size);
  // Ends the block that BeginAppend started at `first`; a bad one is taken
  // back whole, as no question has seen its items.
  void EndAppend(std::size_t first, bool good);
  // Keeps a block that appended items point into.
  void Keep(std::shared_ptr<const unsigned char[]> block);

  // False when there is no such item.
  bool Remove(FourCharCode tag, SInt32 id);

  SInt32 Count();
  void CopyFrom(const OpaqueCollection& other);

  // Brings the appended items to their final places (nothing to do when the
  // filter proved them distinct); every question but ForEach does it itself.
  void Settle() {
    if (!distinct_) Index();
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
  // Passes over all the items that a distinct collection makes for keys
  // neither near nor ruled out before it builds its index instead.
  static constexpr std::size_t kScansBeforeIndex = 2;

  // The slot of the item within kNear of `slot`, or kNone.
  std::size_t FindNear(std::size_t slot, FourCharCode tag, SInt32 id) const;
  // In a distinct collection: the key's slot, or kNone when it is not there,
  // found by walking the items from the first; false, when the walks would
  // cost more than the index, with the answer unknown.
  bool ScanDistinct(FourCharCode tag, SInt32 id, std::size_t& found);
  // Also ends the distinct state of an empty block, before its first change.
  void Index() {
    if (distinct_ || indexed_ != items_.size()) IndexAppended();
  }
  void IndexAppended();
  void Compact();
  void ForgetHints();

  std::vector<CollectionItem> items_;
  std::vector<std::shared_ptr<const unsigned char[]>> blocks_;
  CollectionSlotIndex slots_;
  std::size_t indexed_ = 0;  // items_ before this are in slots_
  // All items are unindexed, live, named once each and held by filter_.
  bool distinct_ = false;
  CollectionKeyFilter filter_;
  std::size_t scanBudget_ = 0;  // items ScanDistinct may still look at
  std::size_t removedCount_ = 0;
  std::size_t recentSlots_[2] = {};  // where Find looks first; only hints
};
