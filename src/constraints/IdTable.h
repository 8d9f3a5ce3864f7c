#pragma once
// An open table of dense ids, a power of two in size and never more than half
// full, so that finding an id costs a hash and a comparison or two. The things
// the ids stand for live with the caller, which gives their hashes and compares
// them; each slot keeps the low half of its id's hash beside the id, so that the
// caller is asked to compare only when those agree, and growing needs no one.
//
// The slots of a large document take hundreds of kilobytes: they come from and
// go back to SpareBlocks, so that the next document does not fault them in again.

#include <cstddef>
#include <cstdint>

#include "foundation/SpareBlocks.h"

class IdTable {
 public:
  // Room for `expected` ids before the table first grows.
  explicit IdTable(std::size_t expected);
  ~IdTable();

  IdTable(const IdTable&) = delete;
  IdTable& operator=(const IdTable&) = delete;

  // The slot that holds the id `matches` accepts, or the empty slot where an id
  // of that hash would go.
  template <class Matches>
  std::size_t SlotOf(std::size_t hash, Matches matches) const {
    const std::uint32_t tag = Tag(hash);
    const std::size_t mask = mSize - 1;
    for (std::size_t slot = tag & mask;; slot = (slot + 1) & mask) {
      const Slot& at = Slots()[slot];
      if (at.id == kEmpty || (at.tag == tag && matches(long(at.id)))) return slot;
    }
  }
  // The id in the slot, or -1.
  long At(std::size_t slot) const { return long(Slots()[slot].id); }

  // Puts the id, of that hash, into the empty slot SlotOf found.
  void Put(std::size_t slot, long id, std::size_t hash);

  // Empties the table, with room for `expected` ids.
  void Clear(std::size_t expected);
  std::size_t Count() const { return mCount; }

 private:
  static constexpr std::int32_t kEmpty = -1;

  struct Slot {
    std::int32_t id;
    std::uint32_t tag;
  };

  static std::uint32_t Tag(std::size_t hash) { return std::uint32_t(hash); }
  Slot* Slots() const { return reinterpret_cast<Slot*>(mBlock.get()); }
  // Empty slots of that number, in place of the present ones.
  void Replace(std::size_t size);
  void Grow();

  SpareBlocks::Block mBlock;
  std::size_t mSize = 0;
  std::size_t mCount = 0;
};
