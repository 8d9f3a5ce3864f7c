#include "constraints/ItemConstraintList.h"

void ItemConstraintList::insert(long key, long value, ConstraintType) { insert(KV(key, value)); }

// Most lists hold a few pairs; room for several from the start spares the
// reallocations of growing one pair at a time.
void ItemConstraintList::insert(const KV& excluded) {
  const size_t kFirstCapacity = 3;
  if (mExcluded.capacity() == 0) mExcluded.reserve(kFirstCapacity);
  mExcluded.push_back(excluded);
}

std::unique_ptr<ItemConstraintList::KV> ItemConstraintList::operator[](long index) const {
  if (index < 0 || index >= size()) return nullptr;
  return std::make_unique<KV>(mExcluded[index]);
}

ItemConstraintList& ItemConstraintList::operator+=(const ItemConstraintList& other) {
  // Sized first so that appending the list to itself never reads a moved buffer.
  size_t count = other.mExcluded.size();
  mExcluded.reserve(mExcluded.size() + count);
  for (size_t i = 0; i < count; ++i) mExcluded.push_back(other.mExcluded[i]);
  return *this;
}

ItemConstraintList ItemConstraintList::operator+(const ItemConstraintList& other) const {
  ItemConstraintList sum(*this);
  sum += other;
  return sum;
}
