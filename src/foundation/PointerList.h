#pragma once
// A doubly linked list of borrowed pointers between two sentinel nodes.
//
// The list owns its nodes only: it never frees, copies or compares what the
// pointers point to, so whoever stores objects in it deletes them before
// clearing it. Iterators are plain positions; erasing the node an iterator
// stands on invalidates it (continue with the one Erase returns).
//
// All the nodes of a list live in one place, the heap or the document storage
// the list was told of, so that the list knows how to end each of them.

class DocumentStorage;

// Three words and nothing to end: a list in a document's storage forgets its
// nodes when it goes.
struct PNode {
  const void* data;
  PNode* prev;
  PNode* next;
};

class PointerListItr {
 public:
  explicit PointerListItr(PNode* node = nullptr) : mNode(node) {}

  // The node's data; null on a null node.
  const void* operator*() const { return mNode ? mNode->data : nullptr; }
  // Moving from a null position stays there.
  PointerListItr& operator++();
  PointerListItr operator++(int);
  PointerListItr& operator--();
  PointerListItr operator--(int);
  bool operator==(const PointerListItr& other) const { return mNode == other.mNode; }
  bool operator!=(const PointerListItr& other) const { return mNode != other.mNode; }

 private:
  friend class PointerList;
  friend class ConstPointerListItr;
  PNode* mNode;
};

class ConstPointerListItr {
 public:
  explicit ConstPointerListItr(const PNode* node = nullptr) : mNode(node) {}
  ConstPointerListItr(const PointerListItr& other) : mNode(other.mNode) {}

  const void* operator*() const { return mNode ? mNode->data : nullptr; }
  ConstPointerListItr& operator++();
  ConstPointerListItr operator++(int);
  ConstPointerListItr& operator--();
  ConstPointerListItr operator--(int);
  bool operator==(const ConstPointerListItr& other) const { return mNode == other.mNode; }
  bool operator!=(const ConstPointerListItr& other) const { return mNode != other.mNode; }

 private:
  const PNode* mNode;
};

class PointerList {
 public:
  PointerList();
  // Copies are shallow: the same pointers, in the same order, in nodes placed
  // as the copy places its own (a new copy: on the heap, for it may outlive
  // the storage of the original's nodes).
  PointerList(const PointerList& other);
  PointerList& operator=(const PointerList& other);
  ~PointerList();

  // The nodes live in `storage`, which must outlive them; only while the list
  // is empty.
  void PlaceNodesIn(DocumentStorage& storage);
  // Where the nodes live; null for the heap.
  DocumentStorage* NodeStorage() const { return mStorage; }

  unsigned long Size() const { return mCount; }
  bool Empty() const { return mCount == 0; }

  PointerListItr Begin() { return PointerListItr(mHead.next); }
  PointerListItr End() { return PointerListItr(&mTail); }
  ConstPointerListItr Begin() const { return ConstPointerListItr(mHead.next); }
  ConstPointerListItr End() const { return ConstPointerListItr(&mTail); }

  // Null when the list is empty.
  const void* Front() const { return mHead.next->data; }
  const void* Back() const { return mTail.prev->data; }

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
  // Moves every pointer of `other` to the end of this list, leaving `other`
  // empty. Nodes that live where this list's do move as they are, and an empty
  // list takes its nodes' place from `other`; otherwise each pointer gets a
  // node here (one that cannot be had loses its pointer, as InsertBefore).
  // Splicing a list into itself changes nothing.
  void Splice(PointerList& other);

 private:
  bool IsElement(const PNode* node) const { return node && node != &mHead && node != &mTail; }

  PNode* NewNode(const void* data, PNode* prev, PNode* next);
  void DeleteNode(PNode* node);
  // Unlinks every node, freeing none.
  void Forget();

  unsigned long mCount;
  PNode mHead;
  PNode mTail;
  DocumentStorage* mStorage = nullptr;
};
