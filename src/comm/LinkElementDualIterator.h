#pragma once
// Walks a PtrLinkList in either direction; past either end it stands on null
// and stays there.

class LinkElement_Dual;
class PtrLinkList;

class LinkElementDualIterator {
 public:
  explicit LinkElementDualIterator(LinkElement_Dual* element = nullptr) : mCurrent(element) {}
  explicit LinkElementDualIterator(const PtrLinkList& list);

  LinkElement_Dual* operator*() const { return mCurrent; }
  LinkElementDualIterator& operator++();
  LinkElementDualIterator operator++(int);
  LinkElementDualIterator& operator--();
  LinkElementDualIterator operator--(int);
  bool operator==(const LinkElementDualIterator& other) const { return mCurrent == other.mCurrent; }
  bool operator!=(const LinkElementDualIterator& other) const { return mCurrent != other.mCurrent; }

 private:
  LinkElement_Dual* mCurrent;
};
