#pragma once
// Finds the slot of a collection item from its key: an open table with linear
// probing, a power of two in size and never more than three quarters full, so that a
// look-up is one hash and, mostly, one cache line. Keys are mixed with a seed
// chosen once per process, so that a stored block cannot be made to pile its
// keys into one run of the table.

#include <cstddef>
#include <vector>

#include "carbon/CollectionKeyMix.h"
#include "carbon/MacTypes.h"

class CollectionSlotIndex {
 public:
  static constexpr std::size_t kNone = ~std::size_t(0);

  // The slot stored for the key, or kNone.
  std::size_t Find(UInt64 key) const;
  // Stores the slot for a new key and returns it; for a key already present,
  // returns its slot and changes nothing.
  std::size_t Insert(UInt64 key, std::size_t slot) {
    Reserve(size_ + 1);
    return InsertReserved(key, slot);
  }
  // Insert after a Reserve that leaves room for this key.
  std::size_t InsertReserved(UInt64 key, std::size_t slot) {
    Entry& entry = entries_[Position(key)];
    if (entry.slot != kFree) return entry.slot;
    entry = Entry{UInt32(key >> 32), UInt32(key), UInt32(slot)};
    ++size_;
    return slot;
  }
  // Changes the slot of a key that is present.
  void Assign(UInt64 key, std::size_t slot);
  // False when the key is not present.
  bool Erase(UInt64 key);

  // Starts loading the part of the table where the key would go, for an
  // Insert or Find of it soon after.
  void Prefetch(UInt64 key) const { __builtin_prefetch(&entries_[Home(key)], 1); }

  std::size_t Size() const { return size_; }
  void Reserve(std::size_t keys);

 private:
  // 12 bytes, so that the table of a large collection stays small.
  struct Entry {
    UInt32 keyHigh;
    UInt32 keyLow;
    UInt32 slot;  // kFree: the entry is free
    UInt64 Key() const { return (UInt64(keyHigh) << 32) | keyLow; }
  };
  static constexpr UInt32 kFree = ~UInt32(0);
  static std::size_t SlotOf(const Entry& entry) {
    return entry.slot == kFree ? kNone : std::size_t(entry.slot);
  }

  static UInt64 ProcessSeed();

  std::size_t Home(UInt64 key) const {
    return std::size_t(MixCollectionKey(key ^ seed_)) & (entries_.size() - 1);
  }
  // The entry that holds the key, or the free entry where it would go.
  std::size_t Position(UInt64 key) const {
    const std::size_t mask = entries_.size() - 1;
    std::size_t at = Home(key);
    while (entries_[at].slot != kFree && entries_[at].Key() != key) at = (at + 1) & mask;
    return at;
  }
  void Rehash(std::size_t capacity);

  std::vector<Entry> entries_;
  std::size_t size_ = 0;
  UInt64 seed_ = ProcessSeed();
};
