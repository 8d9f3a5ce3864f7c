#include "foundation/PointerList.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

int a = 1, b = 2, c = 3, d = 4;
using Pointers = std::vector<const void*>;

Pointers Contents(const PointerList& list) {
  Pointers found;
  for (ConstPointerListItr it = list.Begin(); it != list.End(); ++it) found.push_back(*it);
  return found;
}

}  // namespace

TEST(PointerListTest, InsertsAndWalksBothWays) {
  PointerList list;
  EXPECT_EQ(list.Front(), nullptr);
  EXPECT_EQ(list.Back(), nullptr);
  list.PushBack(&b);
  list.PushFront(&a);
  EXPECT_EQ(*list.InsertBefore(list.End(), &c), &c);
  EXPECT_EQ(list.InsertBefore(PointerListItr(), &d), PointerListItr());
  EXPECT_EQ(Contents(list), (Pointers{&a, &b, &c}));
  EXPECT_EQ(list.Back(), &c);
  PointerListItr it = list.End();
  EXPECT_EQ(*--it, &c);
  EXPECT_EQ(*it--, &c);
  EXPECT_EQ(*it, &b);
}

TEST(PointerListTest, EraseReturnsFollowingPosition) {
  PointerList list;
  for (const void* item : {&a, &b, &c, &d, &a}) list.PushBack(item);
  EXPECT_EQ(list.Erase(--list.End()), list.End());
  EXPECT_EQ(list.Erase(PointerListItr()), list.Begin());
  EXPECT_EQ(list.Erase(list.End()), list.End());
  EXPECT_EQ(*list.Erase(++list.Begin(), --list.End()), &d);
  EXPECT_EQ(Contents(list), (Pointers{&a, &d}));
  list.PopBack();
  list.PopFront();
  list.PopFront();
  EXPECT_TRUE(list.Empty());
  EXPECT_EQ(list.Begin(), list.End());
}

TEST(PointerListTest, CopiesShareThePointedObjects) {
  PointerList original;
  original.PushBack(&a);
  PointerList copy(original);
  PointerList assigned;
  assigned.PushBack(&d);
  assigned = original;
  original.PushBack(&c);
  EXPECT_EQ(Contents(copy), (Pointers{&a}));
  EXPECT_EQ(Contents(assigned), (Pointers{&a}));
  PointerList& alias = assigned;
  assigned = alias;
  EXPECT_EQ(Contents(assigned), (Pointers{&a}));
}

TEST(PointerListTest, SpliceMovesEveryNodeToTheEnd) {
  PointerList list, other;
  list.PushBack(&a);
  other.PushBack(&b);
  other.PushBack(&c);
  list.Splice(other);
  EXPECT_EQ(Contents(list), (Pointers{&a, &b, &c}));
  EXPECT_EQ(list.Size(), 3u);
  EXPECT_TRUE(other.Empty());
  EXPECT_EQ(other.Begin(), other.End());
  EXPECT_EQ(*--list.End(), &c);
  // Both lists go on working: the emptied one takes new nodes, the other one
  // walks back through the moved nodes.
  other.PushBack(&d);
  EXPECT_EQ(Contents(other), (Pointers{&d}));
  list.Splice(list);
  list.PopBack();
  EXPECT_EQ(list.Back(), &b);
  PointerList empty;
  list.Splice(empty);
  EXPECT_EQ(Contents(list), (Pointers{&a, &b}));
  empty.Splice(list);
  EXPECT_EQ(Contents(empty), (Pointers{&a, &b}));
  EXPECT_EQ(empty.Front(), &a);
  EXPECT_TRUE(list.Empty());
}
