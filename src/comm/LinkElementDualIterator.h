#pragma once
// Walks a PtrLinkList in either direction; past either end it stands on null
// and stays there.

class LinkElement_Dual;
class PtrLinkList;

class LinkElementDualIterator {
 public:
  explicit LinkElementDualIterator(LinkElement_Dual* element = nullptr) : current(element) {}
  explicit LinkElementDualIterator(const PtrLinkList& list);

  LinkElement_Dual* operator*() const { return current; }
  LinkElementDualIterator& operator++();
  LinkElementDualIterator operator++(int);
  LinkElementDualIterator& operator--();
  LinkElementDualIterator operator--(int);
  bool operator==(const LinkElementDualIterator& other) const { return current == other.current; }
  bool operator!=(const LinkElementDualIterator& other) const { return current != other.current; }

 private:
  LinkElement_Dual* current;
};
