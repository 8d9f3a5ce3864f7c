#pragma once
// An element of a PtrLinkList: it carries its own links to its neighbours.

class LinkElement_Dual {
 public:
  LinkElement_Dual() : mNextElement(nullptr), mPreviousElement(nullptr) {}
  LinkElement_Dual(const LinkElement_Dual&) = delete;
  LinkElement_Dual& operator=(const LinkElement_Dual&) = delete;
  virtual ~LinkElement_Dual() = default;

 private:
  friend class PtrLinkList;
  friend class LinkElementDualIterator;
  LinkElement_Dual* mNextElement;
  LinkElement_Dual* mPreviousElement;
};
