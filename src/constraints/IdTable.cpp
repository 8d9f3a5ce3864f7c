#include "constraints/IdTable.h"

IdTable::IdTable(std::size_t expected) { Clear(expected); }

void IdTable::Clear(std::size_t expected) {
  std::size_t size = 2;
  while (size < 2 * expected) size *= 2;
  mSlots.assign(size, -1);
  mCount = 0;
}
