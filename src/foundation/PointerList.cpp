#include "foundation/PointerList.h"

#include <new>

#include "foundation/DocumentStorage.h"

PointerListItr& PointerListItr::operator++() {
  if (mNode) mNode = mNode->next;
  return *this;
}

PointerListItr PointerListItr::operator++(int) {
  PointerListItr old = *this;
  ++*this;
  return old;
}

PointerListItr& PointerListItr::operator--() {
  if (mNode) mNode = mNode->prev;
  return *this;
}

PointerListItr PointerListItr::operator--(int) {
  PointerListItr old = *this;
  --*this;
  return old;
}

ConstPointerListItr& ConstPointerListItr::operator++() {
  if (mNode) mNode = mNode->next;
  return *this;
}

ConstPointerListItr ConstPointerListItr::operator++(int) {
  ConstPointerListItr old = *this;
  ++*this;
  return old;
}

ConstPointerListItr& ConstPointerListItr::operator--() {
  if (mNode) mNode = mNode->prev;
  return *this;
}

ConstPointerListItr ConstPointerListItr::operator--(int) {
  ConstPointerListItr old = *this;
  --*this;
  return old;
}

PointerList::PointerList()
    : mCount(0), mHead{nullptr, nullptr, &mTail}, mTail{nullptr, &mHead, nullptr} {}

PointerList::PointerList(const PointerList& other) : PointerList() { *this = other; }

PointerList& PointerList::operator=(const PointerList& other) {
  if (&other == this) return *this;
  MakeEmpty();
  for (ConstPointerListItr it = other.Begin(); it != other.End(); ++it) PushBack(*it);
  return *this;
}

PointerList::~PointerList() { MakeEmpty(); }

void PointerList::PlaceNodesIn(DocumentStorage& storage) {
  if (Empty()) mStorage = &storage;
}

PNode* PointerList::NewNode(const void* data, PNode* prev, PNode* next) {
  if (mStorage != nullptr) return mStorage->Make<PNode>(PNode{data, prev, next});
  return new (std::nothrow) PNode{data, prev, next};
}

void PointerList::DeleteNode(PNode* node) {
  if (mStorage != nullptr)
    DocumentStorage::Destroy(node);
  else
    delete node;
}

PointerListItr PointerList::InsertBefore(PointerListItr position, const void* data) {
  PNode* following = position.mNode;
  if (!following || following == &mHead) return PointerListItr();
  PNode* node = NewNode(data, following->prev, following);
  if (!node) return PointerListItr();
  following->prev->next = node;
  following->prev = node;
  ++mCount;
  return PointerListItr(node);
}

void PointerList::PushFront(const void* data) { InsertBefore(Begin(), data); }

void PointerList::PushBack(const void* data) { InsertBefore(End(), data); }

PointerListItr PointerList::Erase(PointerListItr position) {
  PNode* node = position.mNode;
  if (!node || node == &mHead) return Begin();
  if (node == &mTail) return End();
  PNode* following = node->next;
  node->prev->next = following;
  following->prev = node->prev;
  DeleteNode(node);
  --mCount;
  return PointerListItr(following);
}

PointerListItr PointerList::Erase(PointerListItr first, PointerListItr last) {
  while (first != last && IsElement(first.mNode)) first = Erase(first);
  return last;
}

void PointerList::PopFront() { Erase(Begin()); }

void PointerList::PopBack() { Erase(PointerListItr(mTail.prev)); }

void PointerList::Splice(PointerList& other) {
  if (&other == this || other.Empty()) return;
  if (Empty()) mStorage = other.mStorage;
  if (mStorage != other.mStorage) {
    for (ConstPointerListItr it = other.Begin(); it != other.End(); ++it) PushBack(*it);
    other.MakeEmpty();
    return;
  }
  PNode* first = other.mHead.next;
  PNode* last = other.mTail.prev;
  first->prev = mTail.prev;
  mTail.prev->next = first;
  last->next = &mTail;
  mTail.prev = last;
  mCount += other.mCount;
  other.Forget();
}

void PointerList::Forget() {
  mHead.next = &mTail;
  mTail.prev = &mHead;
  mCount = 0;
}

void PointerList::MakeEmpty() {
  // Nodes in a storage have nothing to end, and unless releasing marks them,
  // nothing to give back: the storage frees them all when it goes. Others go
  // one after another, unlinked all at once.
  if (mStorage == nullptr || DocumentStorage::kReleaseMarksBlocks) {
    for (PNode* node = mHead.next; node != &mTail;) {
      PNode* following = node->next;
      DeleteNode(node);
      node = following;
    }
  }
  Forget();
}
