#include "comm/LinkElementDualIterator.h"

#include "comm/PtrLinkList.h"

LinkElementDualIterator::LinkElementDualIterator(const PtrLinkList& list)
    : mCurrent(list.first()) {}

LinkElementDualIterator& LinkElementDualIterator::operator++() {
  if (mCurrent) mCurrent = mCurrent->mNextElement;
  return *this;
}

LinkElementDualIterator LinkElementDualIterator::operator++(int) {
  LinkElementDualIterator old = *this;
  ++*this;
  return old;
}

LinkElementDualIterator& LinkElementDualIterator::operator--() {
  if (mCurrent) mCurrent = mCurrent->mPreviousElement;
  return *this;
}

LinkElementDualIterator LinkElementDualIterator::operator--(int) {
  LinkElementDualIterator old = *this;
  --*this;
  return old;
}
