#include "comm/PtrLinkList.h"

#include <limits>

PtrLinkList::PtrLinkList(LinkElement_Dual* element)
    : firstElement(nullptr), lastElement(nullptr), elementCount(0), valid(true) {
  if (element) valid = add(element);
  iterator = LinkElementDualIterator(firstElement);
}

PtrLinkList::~PtrLinkList() {
  LinkElement_Dual* element = firstElement;
  while (element) {
    LinkElement_Dual* following = element->nextElement;
    delete element;
    element = following;
  }
}

void PtrLinkList::dumpEntireList(const char*) {}

bool PtrLinkList::add(LinkElement_Dual* element) {
  // A wrapped count would break every position past it.
  if (!element || elementCount == std::numeric_limits<uint16_t>::max()) return false;
  element->nextElement = nullptr;
  element->previousElement = lastElement;
  if (lastElement)
    lastElement->nextElement = element;
  else
    firstElement = element;
  lastElement = element;
  ++elementCount;
  return true;
}

LinkElement_Dual* PtrLinkList::index(uint16_t i) const {
  if (i >= elementCount) return nullptr;
  LinkElementDualIterator position(firstElement);
  for (uint16_t step = 0; step < i; ++step) ++position;
  return *position;
}
