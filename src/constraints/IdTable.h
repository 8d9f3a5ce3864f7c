#pragma once
// An open table of dense ids (-1 marks an empty slot), a power of two in size
// and never more than half full, so that finding an id costs a hash and a
// comparison or two. The things the ids stand for live with the caller, which
// gives their hashes and compares them; the table holds nothing else, and no
// block per entry.

#include <cstddef>
#include <vector>

class IdTable {
 public:
  // Room for `expected` ids before the table first grows.
  explicit IdTable(std::size_t expected);

  // The slot that holds the id `matches` accepts, or the empty slot where an id
  // of that hash would go.
  template <class Matches>
  std::size_t SlotOf(std::size_t hash, Matches matches) const {
    const std::size_t mask = mSlots.size() - 1;
    for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
      const long id = mSlots[slot];
      if (id == -1 || matches(id)) return slot;
    }
  }
  // The id in the slot, or -1.
  long At(std::size_t slot) const { return mSlots[slot]; }

  // Puts the id into the empty slot SlotOf found; `hashOf` gives the hash of
  // any id held, for when the table grows.
  template <class HashOf>
  void Put(std::size_t slot, long id, HashOf hashOf) {
    mSlots[slot] = id;
    if (2 * ++mCount > mSlots.size()) Grow(hashOf);
  }

  void Clear(std::size_t expected);

 private:
  template <class HashOf>
  void Grow(HashOf hashOf) {
    std::vector<long> old(2 * mSlots.size(), -1);
    old.swap(mSlots);
    const std::size_t mask = mSlots.size() - 1;
    for (long id : old) {
      if (id == -1) continue;
      std::size_t slot = hashOf(id) & mask;
      while (mSlots[slot] != -1) slot = (slot + 1) & mask;
      mSlots[slot] = id;
    }
  }

  std::vector<long> mSlots;
  std::size_t mCount = 0;
};
