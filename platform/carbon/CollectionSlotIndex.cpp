#include "carbon/CollectionSlotIndex.h"

#include <random>

namespace {

constexpr std::size_t kFirstCapacity = 16;

}  // namespace

UInt64 CollectionSlotIndex::ProcessSeed() {
  static const UInt64 seed = [] {
    std::random_device device;
    return (UInt64(device()) << 32) ^ device();
  }();
  return seed;
}

std::size_t CollectionSlotIndex::Find(UInt64 key) const {
  if (size_ == 0) return kNone;
  return SlotOf(entries_[Position(key)]);
}

void CollectionSlotIndex::Assign(UInt64 key, std::size_t slot) {
  if (size_ == 0) return;
  Entry& entry = entries_[Position(key)];
  if (entry.slot != kFree) entry.slot = UInt32(slot);
}

// Moves later entries of the run back into the hole, so that no probe ever
// stops early at it.
bool CollectionSlotIndex::Erase(UInt64 key) {
  if (size_ == 0) return false;
  const std::size_t mask = entries_.size() - 1;
  std::size_t hole = Position(key);
  if (entries_[hole].slot == kFree) return false;
  for (std::size_t next = (hole + 1) & mask; entries_[next].slot != kFree;
       next = (next + 1) & mask) {
    // The entry may fill the hole only when the hole lies on its probe path,
    // from its home to where it stands.
    const std::size_t home = Home(entries_[next].Key());
    if (((next - home) & mask) >= ((next - hole) & mask)) {
      entries_[hole] = entries_[next];
      hole = next;
    }
  }
  entries_[hole].slot = kFree;
  --size_;
  return true;
}

void CollectionSlotIndex::Reserve(std::size_t keys) {
  std::size_t capacity = entries_.empty() ? kFirstCapacity : entries_.size();
  while (capacity < keys + keys / 3) capacity *= 2;
  if (capacity != entries_.size()) Rehash(capacity);
}

void CollectionSlotIndex::Rehash(std::size_t capacity) {
  std::vector<Entry> old(capacity, Entry{0, 0, kFree});
  old.swap(entries_);
  for (const Entry& entry : old) {
    if (entry.slot != kFree) entries_[Position(entry.Key())] = entry;
  }
}
