#include "constraints/ItemConstraintList.h"

void ItemConstraintList::insert(long key, long value, ConstraintType) {
  insert(KV(key, value));
}

void ItemConstraintList::insert(const KV& excluded) { m_excluded.push_back(excluded); }

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
