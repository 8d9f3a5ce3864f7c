#include "carbon/OpaqueCollection.h"

#include <algorithm>
#include <utility>

UInt64 OpaqueCollection::KeyOf(FourCharCode tag, SInt32 id) {
  return (UInt64(tag) << 32) | UInt32(id);
}

// Readers mostly ask again for an item they just asked for, or for the one
// after it; a reader may interleave two such walks (a value and the marker
// that tells its byte order). The two slots found last, and the slots after
// them, are checked first. Failing those, the items around the last one found
// are: the entries of one object lie together, though they may be read in
// another order than they were written. Only then the hash, whose look-ups
// miss the cache.
CollectionItem* OpaqueCollection::Find(FourCharCode tag, SInt32 id) {
  for (std::size_t& hint : recentSlots_) {
    for (std::size_t slot = hint; slot < items_.size() && slot <= hint + 1; ++slot) {
      if (Holds(slot, tag, id)) {
        hint = slot;
        return &items_[slot];
      }
    }
  }
  std::size_t found = FindNear(recentSlots_[0], tag, id);
  if (found == CollectionSlotIndex::kNone) found = slots_.Find(KeyOf(tag, id));
  if (found == CollectionSlotIndex::kNone) return nullptr;
  recentSlots_[1] = recentSlots_[0];
  recentSlots_[0] = found;
  return &items_[found];
}

bool OpaqueCollection::Holds(std::size_t slot, FourCharCode tag, SInt32 id) const {
  const CollectionItem& item = items_[slot];
  return item.tag == tag && item.id == id && !item.removed;
}

// Nearest first: the entry looked for mostly lies a step or two away.
std::size_t OpaqueCollection::FindNear(std::size_t slot, FourCharCode tag, SInt32 id) const {
  for (std::size_t step = 1; step <= kNear; ++step) {
    if (slot + step < items_.size() && Holds(slot + step, tag, id)) return slot + step;
    if (step <= slot && Holds(slot - step, tag, id)) return slot - step;
  }
  return CollectionSlotIndex::kNone;
}

CollectionItem* OpaqueCollection::At(SInt32 index) {
  if (index < 1 || index > Count()) return nullptr;
  Compact();
  return &items_[std::size_t(index) - 1];
}

SInt32 OpaqueCollection::IndexOf(const CollectionItem& item) {
  Compact();
  return SInt32(slots_.Find(KeyOf(item.tag, item.id)) + 1);
}

CollectionItem& OpaqueCollection::Obtain(FourCharCode tag, SInt32 id) {
  const std::size_t slot = slots_.Insert(KeyOf(tag, id), items_.size());
  if (slot != items_.size()) return items_[slot];
  items_.emplace_back();
  CollectionItem& item = items_.back();
  item.tag = tag;
  item.id = id;
  return item;
}

bool OpaqueCollection::Remove(FourCharCode tag, SInt32 id) {
  const std::size_t found = slots_.Find(KeyOf(tag, id));
  if (found == CollectionSlotIndex::kNone) return false;
  CollectionItem& item = items_[found];
  item.removed = true;
  std::string().swap(item.data);
  slots_.Erase(KeyOf(tag, id));
  ++removedCount_;
  // Holes never outnumber the items, so memory stays proportional to the count.
  if (removedCount_ * 2 > items_.size()) Compact();
  return true;
}

SInt32 OpaqueCollection::Count() const { return SInt32(slots_.Size()); }

void OpaqueCollection::Reserve(std::size_t additionalItems) {
  items_.reserve(items_.size() + additionalItems);
  slots_.Reserve(slots_.Size() + additionalItems);
}

void OpaqueCollection::CopyFrom(const OpaqueCollection& other) {
  if (this == &other) return;
  items_ = other.items_;
  slots_ = other.slots_;
  removedCount_ = other.removedCount_;
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
  removedCount_ = 0;
}
