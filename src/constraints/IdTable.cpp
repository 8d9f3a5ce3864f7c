#include "constraints/IdTable.h"

#include <cstring>
#include <utility>

IdTable::IdTable(std::size_t expected) { Clear(expected); }

IdTable::~IdTable() { SpareBlocks::Give(std::move(mBlock), mSize * sizeof(Slot)); }

void IdTable::Put(std::size_t slot, long id, std::size_t hash) {
  Slots()[slot] = Slot{std::int32_t(id), Tag(hash)};
  if (2 * ++mCount > mSize) Grow();
}

void IdTable::Clear(std::size_t expected) {
  std::size_t size = 2;
  while (size < 2 * expected) size *= 2;
  Replace(size);
  mCount = 0;
}

void IdTable::Replace(std::size_t size) {
  SpareBlocks::Give(std::move(mBlock), mSize * sizeof(Slot));
  mBlock = SpareBlocks::Take(size * sizeof(Slot));
  mSize = size;
  // Every byte 0xff: every id kEmpty.
  std::memset(mBlock.get(), 0xff, size * sizeof(Slot));
}

// The slot of an id depends only on its tag, so the tags place them again.
void IdTable::Grow() {
  SpareBlocks::Block old = std::move(mBlock);
  const std::size_t oldSize = mSize;
  const Slot* held = reinterpret_cast<const Slot*>(old.get());
  Replace(2 * mSize);
  const std::size_t mask = mSize - 1;
  for (std::size_t k = 0; k < oldSize; ++k) {
    if (held[k].id == kEmpty) continue;
    std::size_t slot = held[k].tag & mask;
    while (Slots()[slot].id != kEmpty) slot = (slot + 1) & mask;
    Slots()[slot] = held[k];
  }
  SpareBlocks::Give(std::move(old), oldSize * sizeof(Slot));
}
