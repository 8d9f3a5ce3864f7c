#include "foundation/PointerList.h"

#include <new>

PNode::PNode() : PNode(nullptr, nullptr, nullptr) {}

PNode::PNode(const void* data, PNode* prev, PNode* next) : data(data), prev(prev), next(next) {}

PNode::~PNode() {
  prev = nullptr;
  next = nullptr;
}

PointerListItr& PointerListItr::operator++() {
  if (node) node = node->next;
  return *this;
}

PointerListItr PointerListItr::operator++(int) {
  PointerListItr old = *this;
  ++*this;
  return old;
}

PointerListItr& PointerListItr::operator--() {
  if (node) node = node->prev;
  return *this;
}

PointerListItr PointerListItr::operator--(int) {
  PointerListItr old = *this;
  --*this;
  return old;
}

ConstPointerListItr& ConstPointerListItr::operator++() {
  if (node) node = node->next;
  return *this;
}

ConstPointerListItr ConstPointerListItr::operator++(int) {
  ConstPointerListItr old = *this;
  ++*this;
  return old;
}

ConstPointerListItr& ConstPointerListItr::operator--() {
  if (node) node = node->prev;
  return *this;
}

ConstPointerListItr ConstPointerListItr::operator--(int) {
  ConstPointerListItr old = *this;
  --*this;
  return old;
}

PointerList::PointerList()
    : count(0), head(nullptr, nullptr, &tail), tail(nullptr, &head, nullptr) {}

PointerList::PointerList(const PointerList& other) : PointerList() { *this = other; }

PointerList& PointerList::operator=(const PointerList& other) {
  if (&other == this) return *this;
  MakeEmpty();
  for (ConstPointerListItr it = other.Begin(); it != other.End(); ++it) PushBack(*it);
  return *this;
}

PointerList::~PointerList() { MakeEmpty(); }

PointerListItr PointerList::InsertBefore(PointerListItr position, const void* data) {
  PNode* following = position.node;
  if (!following || following == &head) return PointerListItr();
  PNode* node = new (std::nothrow) PNode(data, following->prev, following);
  if (!node) return PointerListItr();
  following->prev->next = node;
  following->prev = node;
  ++count;
  return PointerListItr(node);
}

void PointerList::PushFront(const void* data) { InsertBefore(Begin(), data); }

void PointerList::PushBack(const void* data) { InsertBefore(End(), data); }

PointerListItr PointerList::Erase(PointerListItr position) {
  PNode* node = position.node;
  if (!node || node == &head) return Begin();
  if (node == &tail) return End();
  PNode* following = node->next;
  node->prev->next = following;
  following->prev = node->prev;
  delete node;
  --count;
  return PointerListItr(following);
}

PointerListItr PointerList::Erase(PointerListItr first, PointerListItr last) {
  while (first != last && IsElement(first.node)) first = Erase(first);
  return last;
}

void PointerList::PopFront() { Erase(Begin()); }

void PointerList::PopBack() { Erase(PointerListItr(tail.prev)); }

void PointerList::Splice(PointerList& other) {
  if (&other == this || other.Empty()) return;
  PNode* first = other.head.next;
  PNode* last = other.tail.prev;
  first->prev = tail.prev;
  tail.prev->next = first;
  last->next = &tail;
  tail.prev = last;
  count += other.count;
  other.head.next = &other.tail;
  other.tail.prev = &other.head;
  other.count = 0;
}

void PointerList::MakeEmpty() {
  while (!Empty()) PopFront();
}
