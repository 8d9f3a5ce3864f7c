#pragma once
// Finds the slot of a collection item from its key: an open table with linear
// probing, a power of two in size and never more than half full, so that a
// look-up is one hash and, mostly, one cache line. Keys are mixed with a seed
// chosen once per process, so that a stored block cannot be made to pile its
// keys into one run of the table.

#include <cstddef>
#include <vector>

#include "carbon/MacTypes.h"

class CollectionSlotIndex {
 public:
  static constexpr std::size_t kNone = ~std::size_t(0);

  // The slot stored for the key, or kNone.
  std::size_t Find(UInt64 key) const;
  // Stores the slot for a new key and returns it; for a key already present,
  // returns its slot and changes nothing.
  std::size_t Insert(UInt64 key, std::size_t slot);
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
  struct Entry {
    UInt64 key;
    std::size_t slot;  // kNone: the entry is free
  };

  std::size_t Home(UInt64 key) const;
  // The entry that holds the key, or the free entry where it would go.
  std::size_t Position(UInt64 key) const;
  void Rehash(std::size_t capacity);

  std::vector<Entry> entries_;
  std::size_t size_ = 0;
};
