#include "constraints/IdTable.h"

IdTable::IdTable(std::size_t expected) { Clear(expected); }

void IdTable::Put(std::size_t slot, long id, std::size_t hash) {
  mSlots[slot] = Slot{std::int32_t(id), Tag(hash)};
  if (2 * ++mCount > mSlots.size()) Grow();
}

void IdTable::Clear(std::size_t expected) {
  std::size_t size = 2;
  while (size < 2 * expected) size *= 2;
  mSlots.assign(size, Slot{kEmpty, 0});
  mCount = 0;
}

// The slot of an id depends only on its tag, so the tags place them again.
void IdTable::Grow() {
  std::vector<Slot> old(2 * mSlots.size(), Slot{kEmpty, 0});
  old.swap(mSlots);
  const std::size_t mask = mSlots.size() - 1;
  for (const Slot& held : old) {
    if (held.id == kEmpty) continue;
    std::size_t slot = held.tag & mask;
    while (mSlots[slot].id != kEmpty) slot = (slot + 1) & mask;
    mSlots[slot] = held;
  }
}
