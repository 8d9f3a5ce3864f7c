#include "carbon/OpaqueCollection.h"

#include <algorithm>
#include <utility>

// Readers mostly ask for the item after the one they asked for last, or again
// for that one; a reader may interleave two such walks (a value and the marker
// that tells its byte order). The slots after the two found last, and those
// two, are checked first. Failing those, the items around the last one found
// are: the entries of one object lie together, though they may be read in
// another order than they were written. Only then the hash, whose look-ups
// miss the cache.
CollectionItem* OpaqueCollection::Find(FourCharCode tag, SInt32 id) {
  Settle();
  for (std::size_t& hint : recentSlots_) {
    for (const std::size_t slot : {hint + 1, hint}) {
      if (slot < items_.size() && Holds(slot, tag, id)) {
        hint = slot;
        return &items_[slot];
      }
    }
  }
  std::size_t found = FindNear(recentSlots_[0], tag, id);
  if (found == CollectionSlotIndex::kNone && distinct_) {
    if (!filter_.MayHold(KeyOf(tag, id))) return nullptr;
    if (ScanDistinct(tag, id, found) && found == CollectionSlotIndex::kNone) return nullptr;
  }
  if (found == CollectionSlotIndex::kNone) {
    Index();
    found = slots_.Find(KeyOf(tag, id));
  }
  if (found == CollectionSlotIndex::kNone) return nullptr;
  recentSlots_[1] = recentSlots_[0];
  recentSlots_[0] = found;
  return &items_[found];
}

// Nearest first: the entry looked for mostly lies a step or two away.
std::size_t OpaqueCollection::FindNear(std::size_t slot, FourCharCode tag, SInt32 id) const {
  for (std::size_t step = 1; step <= kNear; ++step) {
    if (slot + step < items_.size() && Holds(slot + step, tag, id)) return slot + step;
    if (step <= slot && Holds(slot - step, tag, id)) return slot - step;
  }
  return CollectionSlotIndex::kNone;
}

// A few entries are read away from the others (a document's header, first
// in the block, by the lists that follow it): one pass over the items costs
// far less than filling the index, whose places miss the cache, so a few such
// passes are made before the index is built.
bool OpaqueCollection::ScanDistinct(FourCharCode tag, SInt32 id, std::size_t& found) {
  found = CollectionSlotIndex::kNone;
  for (std::size_t slot = 0; slot < items_.size(); ++slot) {
    if (scanBudget_ == 0) return false;
    --scanBudget_;
    if (Holds(slot, tag, id)) {
      found = slot;
      return true;
    }
  }
  return true;
}

CollectionItem* OpaqueCollection::At(SInt32 index) {
  Settle();
  if (index < 1 || index > Count()) return nullptr;
  Compact();
  return &items_[std::size_t(index) - 1];
}

// Distinct items have no holes to close: each stands at its position.
SInt32 OpaqueCollection::IndexOf(const CollectionItem& item) {
  Settle();
  if (distinct_) return SInt32(&item - items_.data()) + 1;
  Compact();
  return SInt32(slots_.Find(KeyOf(item.tag, item.id)) + 1);
}

CollectionItem& OpaqueCollection::Obtain(FourCharCode tag, SInt32 id) {
  Index();
  const std::size_t slot = slots_.Insert(KeyOf(tag, id), items_.size());
  if (slot != items_.size()) return items_[slot];
  items_.emplace_back();
  CollectionItem& item = items_.back();
  item.tag = tag;
  item.id = id;
  indexed_ = items_.size();
  return item;
}

// Only a block that starts an empty collection can be proved distinct alone.
std::size_t OpaqueCollection::BeginAppend(std::size_t count) {
  items_.reserve(items_.size() + count);
  distinct_ = items_.empty();
  if (distinct_)
    filter_.Reset(count);
  else
    filter_.Release();
  return items_.size();
}

void OpaqueCollection::Append(FourCharCode tag, SInt32 id, SInt32 attributes,
                              const unsigned char* bytes, std::size_t size) {
  if (distinct_ && !filter_.Add(KeyOf(tag, id))) distinct_ = false;
  items_.emplace_back();
  CollectionItem& item = items_.back();
  item.tag = tag;
  item.id = id;
  item.attributes = attributes;
  item.data.Refer(bytes, size);
}

// A key the filter had perhaps seen may still be named once: the index tells.
void OpaqueCollection::EndAppend(std::size_t first, bool good) {
  if (!good) {
    items_.resize(first);
    distinct_ = false;
  }
  if (!distinct_) filter_.Release();
  scanBudget_ = distinct_ ? items_.size() * kScansBeforeIndex : 0;
}

void OpaqueCollection::Keep(std::shared_ptr<const unsigned char[]> block) {
  blocks_.push_back(std::move(block));
}

// The index's places are scattered over a table larger than the caches: each
// is loaded some items before it is needed.
void OpaqueCollection::IndexAppended() {
  constexpr std::size_t kAhead = 16;
  slots_.Reserve(slots_.Size() + items_.size() - indexed_);
  for (std::size_t slot = indexed_; slot < items_.size(); ++slot) {
    if (slot + kAhead < items_.size())
      slots_.Prefetch(KeyOf(items_[slot + kAhead].tag, items_[slot + kAhead].id));
    CollectionItem& item = items_[slot];
    const std::size_t earlier = slots_.InsertReserved(KeyOf(item.tag, item.id), slot);
    if (earlier == slot) continue;
    items_[earlier].data = std::move(item.data);
    items_[earlier].attributes = item.attributes;
    item.removed = true;
    ++removedCount_;
  }
  indexed_ = items_.size();
  distinct_ = false;
  filter_.Release();
}

bool OpaqueCollection::Remove(FourCharCode tag, SInt32 id) {
  Index();
  const std::size_t found = slots_.Find(KeyOf(tag, id));
  if (found == CollectionSlotIndex::kNone) return false;
  CollectionItem& item = items_[found];
  item.removed = true;
  item.data.Clear();
  slots_.Erase(KeyOf(tag, id));
  ++removedCount_;
  // Holes never outnumber the items, so memory stays proportional to the count.
  if (removedCount_ * 2 > items_.size()) Compact();
  return true;
}

SInt32 OpaqueCollection::Count() {
  Settle();
  return SInt32(distinct_ ? items_.size() : slots_.Size());
}

void OpaqueCollection::CopyFrom(const OpaqueCollection& other) {
  if (this == &other) return;
  items_ = other.items_;
  blocks_ = other.blocks_;
  slots_ = other.slots_;
  indexed_ = other.indexed_;
  distinct_ = other.distinct_;
  filter_ = other.filter_;
  scanBudget_ = other.scanBudget_;
  ForgetHints();
  removedCount_ = other.removedCount_;
}

// Hints past the end would send FindNear outside the items.
void OpaqueCollection::ForgetHints() {
  recentSlots_[0] = 0;
  recentSlots_[1] = 0;
}

void OpaqueCollection::Compact() {
  if (removedCount_ == 0) return;
  std::size_t kept = 0;
  for (std::size_t slot = 0; slot < items_.size(); ++slot) {
    if (items_[slot].removed) continue;
    if (kept != slot) {
      items_[kept] = std::move(items_[slot]);
      slots_.Assign(KeyOf(items_[kept].tag, items_[kept].id), kept);
    }
    ++kept;
  }
  items_.resize(kept);
  indexed_ = kept;
  removedCount_ = 0;
  ForgetHints();
}
