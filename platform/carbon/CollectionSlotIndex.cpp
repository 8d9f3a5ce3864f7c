#include "carbon/CollectionSlotIndex.h"

#include <random>

namespace {

constexpr std::size_t kFirstCapacity = 16;

UInt64 ProcessSeed() {
  static const UInt64 seed = [] {
    std::random_device device;
    return (UInt64(device()) << 32) ^ device();
  }();
  return seed;
}

// The final mix of a well-known 64-bit hash: every key bit reaches every
// hash bit.
UInt64 Mix(UInt64 key) {
  key ^= key >> 33;
  key *= 0xff51afd7ed558ccdULL;
  key ^= key >> 33;
  key *= 0xc4ceb9fe1a85ec53ULL;
  key ^= key >> 33;
  return key;
}

}  // namespace

std::size_t CollectionSlotIndex::Home(UInt64 key) const {
  return std::size_t(Mix(key ^ ProcessSeed())) & (entries_.size() - 1);
}

std::size_t CollectionSlotIndex::Position(UInt64 key) const {
  const std::size_t mask = entries_.size() - 1;
  std::size_t at = Home(key);
  while (entries_[at].slot != kNone && entries_[at].key != key) at = (at + 1) & mask;
  return at;
}

std::size_t CollectionSlotIndex::Find(UInt64 key) const {
  if (size_ == 0) return kNone;
  return entries_[Position(key)].slot;
}

std::size_t CollectionSlotIndex::Insert(UInt64 key, std::size_t slot) {
  Reserve(size_ + 1);
  Entry& entry = entries_[Position(key)];
  if (entry.slot != kNone) return entry.slot;
  entry = Entry{key, slot};
  ++size_;
  return slot;
}

void CollectionSlotIndex::Assign(UInt64 key, std::size_t slot) {
  if (size_ == 0) return;
  Entry& entry = entries_[Position(key)];
  if (entry.slot != kNone) entry.slot = slot;
}

// Moves later entries of the run back into the hole, so that no probe ever
// stops early at it.
bool CollectionSlotIndex::Erase(UInt64 key) {
  if (size_ == 0) return false;
  const std::size_t mask = entries_.size() - 1;
  std::size_t hole = Position(key);
  if (entries_[hole].slot == kNone) return false;
  for (std::size_t next = (hole + 1) & mask; entries_[next].slot != kNone;
       next = (next + 1) & mask) {
    // The entry may fill the hole only when the hole lies on its probe path,
    // from its home to where it stands.
    const std::size_t home = Home(entries_[next].key);
    if (((next - home) & mask) >= ((next - hole) & mask)) {
      entries_[hole] = entries_[next];
      hole = next;
    }
  }
  entries_[hole].slot = kNone;
  --size_;
  return true;
}

void CollectionSlotIndex::Reserve(std::size_t keys) {
  std::size_t capacity = entries_.empty() ? kFirstCapacity : entries_.size();
  while (capacity < 2 * keys) capacity *= 2;
  if (capacity != entries_.size()) Rehash(capacity);
}

void CollectionSlotIndex::Rehash(std::size_t capacity) {
  std::vector<Entry> old(capacity, Entry{0, kNone});
  old.swap(entries_);
  for (const Entry& entry : old) {
    if (entry.slot != kNone) entries_[Position(entry.key)] = entry;
  }
}
