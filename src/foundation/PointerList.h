#pragma once
// A doubly linked list of borrowed pointers between two sentinel nodes.
//
// The list owns its nodes only: it never frees, copies or compares what the
// pointers point to, so whoever stores objects in it deletes them before
// clearing it. Iterators are plain positions; erasing the node an iterator
// stands on invalidates it (continue with the one Erase returns).

class PNode {
 public:
  PNode();
  PNode(const void* data, PNode* prev, PNode* next);
  // Clears the links; the data is never touched.
  virtual ~PNode();

  const void* data;
  PNode* prev;
  PNode* next;
};

class PointerListItr {
 public:
  explicit PointerListItr(PNode* node = nullptr) : node(node) {}

  // The node's data; null on a null node.
  const void* operator*() const { return node ? node->data : nullptr; }
  // Moving from a null position stays there.
  PointerListItr& operator++();
  PointerListItr operator++(int);
  PointerListItr& operator--();
  PointerListItr operator--(int);
  bool operator==(const PointerListItr& other) const { return node == other.node; }
  bool operator!=(const PointerListItr& other) const { return node != other.node; }

 private:
  friend class PointerList;
  friend class ConstPointerListItr;
  PNode* node;
};

class ConstPointerListItr {
 public:
  explicit ConstPointerListItr(const PNode* node = nullptr) : node(node) {}
  ConstPointerListItr(const PointerListItr& other) : node(other.node) {}

  const void* operator*() const { return node ? node->data : nullptr; }
  ConstPointerListItr& operator++();
  ConstPointerListItr operator++(int);
  ConstPointerListItr& operator--();
  ConstPointerListItr operator--(int);
  bool operator==(const ConstPointerListItr& other) const { return node == other.node; }
  bool operator!=(const ConstPointerListItr& other) const { return node != other.node; }

 private:
  const PNode* node;
};

class PointerList {
 public:
  PointerList();
  // Copies are shallow: the same pointers, in the same order.
  PointerList(const PointerList& other);
  PointerList& operator=(const PointerList& other);
  ~PointerList();

  unsigned long Size() const { return count; }
  bool Empty() const { return count == 0; }

  PointerListItr Begin() { return PointerListItr(head.next); }
  PointerListItr End() { return PointerListItr(&tail); }
  ConstPointerListItr Begin() const { return ConstPointerListItr(head.next); }
  ConstPointerListItr End() const { return ConstPointerListItr(&tail); }

  // Null when the list is empty.
  const void* Front() const { return head.next->data; }
  const void* Back() const { return tail.prev->data; }

  // Returns the new node's position, or a null position when nothing was
  // inserted (a null or head-sentinel position, or no memory).
  PointerListItr InsertBefore(PointerListItr position, const void* data);
  void PushFront(const void* data);
  void PushBack(const void* data);

  // Returns the position that followed the erased node. A null position erases
  // nothing and returns Begin(); the sentinels are never erased.
  PointerListItr Erase(PointerListItr position);
  // Erases from `first` up to, not including, `last`; returns `last`.
  PointerListItr Erase(PointerListItr first, PointerListItr last);
  void PopFront();
  void PopBack();
  void MakeEmpty();
  // Moves every node of `other` to the end of this list, leaving `other` empty;
  // no node is made or freed. Splicing a list into itself changes nothing.
  void Splice(PointerList& other);

 private:
  bool IsElement(const PNode* node) const { return node && node != &head && node != &tail; }

  unsigned long count;
  PNode head;
  PNode tail;
};
