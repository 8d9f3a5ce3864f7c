#include "comm/LinkElementDualIterator.h"

#include "comm/PtrLinkList.h"

LinkElementDualIterator::LinkElementDualIterator(const PtrLinkList& list)
    : current(list.first()) {}

LinkElementDualIterator& LinkElementDualIterator::operator++() {
  if (current) current = current->nextElement;
  return *this;
}

LinkElementDualIterator LinkElementDualIterator::operator++(int) {
  LinkElementDualIterator old = *this;
  ++*this;
  return old;
}

LinkElementDualIterator& LinkElementDualIterator::operator--() {
  if (current) current = current->previousElement;
  return *this;
}

LinkElementDualIterator LinkElementDualIterator::operator--(int) {
  LinkElementDualIterator old = *this;
  --*this;
  return old;
}
