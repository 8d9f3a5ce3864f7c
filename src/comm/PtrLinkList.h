#pragma once
// An intrusive doubly linked list that owns its elements: they derive from
// LinkElement_Dual, carry their own links and are destroyed with the list,
// the first one first. It holds at most 65,535 elements.

#include "comm/LinkElementDualIterator.h"
#include "comm/LinkElement_Dual.h"

#include <cstdint>

class PtrLinkList {
 public:
  // An empty list is valid; a list started with an element is valid when that
  // element was accepted.
  explicit PtrLinkList(LinkElement_Dual* element = nullptr);
  PtrLinkList(const PtrLinkList&) = delete;
  PtrLinkList& operator=(const PtrLinkList&) = delete;
  virtual ~PtrLinkList();

  // A diagnostic hook; does nothing here.
  virtual void dumpEntireList(const char* text);

  // Appends and takes ownership. Refuses (false, nothing changed) a null
  // element and any element beyond the 16-bit count.
  bool add(LinkElement_Dual* element);
  // The element at position i from 0, or null when there is none.
  LinkElement_Dual* index(uint16_t i) const;

  LinkElement_Dual* first() const { return mFirstElement; }
  uint16_t count() const { return mElementCount; }
  bool isValid() const { return mValid; }

 protected:
  LinkElement_Dual* mFirstElement;
  LinkElement_Dual* mLastElement;
  uint16_t mElementCount;
  bool mValid;
  LinkElementDualIterator mIterator;
};
