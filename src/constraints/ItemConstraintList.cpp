#include "constraints/ItemConstraintList.h"

void ItemConstraintList::insert(long key, long value, ConstraintType) {
  insert(KV(key, value));
}

// Most lists hold a few pairs; room for several from the start spares the
// reallocations of growing one pair at a time.
void ItemConstraintList::insert(const KV& excluded) {
  const size_t kFirstCapacity = 3;
  if (m_excluded.capacity() == 0) m_excluded.reserve(kFirstCapacity);
  m_excluded.push_back(excluded);
}

std::unique_ptr<ItemConstraintList::KV> ItemConstraintList::operator[](long index) const {
  if (index < 0 || index >= size()) return nullptr;
  return std::make_unique<KV>(m_excluded[index]);
}

ItemConstraintList& ItemConstraintList::operator+=(const ItemConstraintList& other) {
  // Sized first so that appending the list to itself never reads a moved buffer.
  size_t count = other.m_excluded.size();
  m_excluded.reserve(m_excluded.size() + count);
  for (size_t i = 0; i < count; ++i) m_excluded.push_back(other.m_excluded[i]);
  return *this;
}

ItemConstraintList ItemConstraintList::operator+(const ItemConstraintList& other) const {
  ItemConstraintList sum(*this);
  sum += other;
  return sum;
}
