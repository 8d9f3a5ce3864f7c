#include "comm/PtrLinkList.h"

#include <limits>

PtrLinkList::PtrLinkList(LinkElement_Dual* element)
    : mFirstElement(nullptr), mLastElement(nullptr), mElementCount(0), mValid(true) {
  if (element) mValid = add(element);
  mIterator = LinkElementDualIterator(mFirstElement);
}

PtrLinkList::~PtrLinkList() {
  LinkElement_Dual* element = mFirstElement;
  while (element) {
    LinkElement_Dual* following = element->mNextElement;
    delete element;
    element = following;
  }
}

void PtrLinkList::dumpEntireList(const char*) {}

bool PtrLinkList::add(LinkElement_Dual* element) {
  // A wrapped count would break every position past it.
  if (!element || mElementCount == std::numeric_limits<uint16_t>::max()) return false;
  element->mNextElement = nullptr;
  element->mPreviousElement = mLastElement;
  if (mLastElement)
    mLastElement->mNextElement = element;
  else
    mFirstElement = element;
  mLastElement = element;
  ++mElementCount;
  return true;
}

LinkElement_Dual* PtrLinkList::index(uint16_t i) const {
  if (i >= mElementCount) return nullptr;
  LinkElementDualIterator position(mFirstElement);
  for (uint16_t step = 0; step < i; ++step) ++position;
  return *position;
}
