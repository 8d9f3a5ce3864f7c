#include "foundation/PointerList.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

int a = 1, b = 2, c = 3, d = 4;

std::vector<const void*> Contents(const PointerList& list) {
  std::vector<const void*> found;
  for (ConstPointerListItr it = list.Begin(); it != list.End(); ++it) found.push_back(*it);
  return found;
}

PointerList ListOf(std::initializer_list<const void*> items) {
  PointerList list;
  for (const void* item : items) list.PushBack(item);
  return list;
}

}  // namespace

TEST(PointerListTest, EmptyListHasNoFrontOrBack) {
  PointerList list;
  EXPECT_TRUE(list.Empty());
  EXPECT_EQ(list.Front(), nullptr);
  EXPECT_EQ(list.Back(), nullptr);
  EXPECT_EQ(list.Begin(), list.End());
  list.PopFront();
  list.PopBack();
  EXPECT_EQ(list.Size(), 0u);
}

TEST(PointerListTest, InsertsAndWalksBothWays) {
  PointerList list;
  list.PushBack(&b);
  list.PushFront(&a);
  PointerListItr inserted = list.InsertBefore(list.End(), &c);
  EXPECT_EQ(*inserted, &c);
  EXPECT_EQ(list.Size(), 3u);
  EXPECT_EQ(list.Front(), &a);
  EXPECT_EQ(list.Back(), &c);

  PointerListItr it = list.End();
  EXPECT_EQ(*--it, &c);
  PointerListItr old = it--;
  EXPECT_EQ(*old, &c);
  EXPECT_EQ(*it, &b);
  EXPECT_EQ(list.InsertBefore(PointerListItr(), &d), PointerListItr());
  EXPECT_EQ(Contents(list), (std::vector<const void*>{&a, &b, &c}));
}

TEST(PointerListTest, EraseReturnsFollowingPosition) {
  PointerList list = ListOf({&a, &b, &c, &d});
  PointerListItr last = list.End();
  --last;
  EXPECT_EQ(list.Erase(last), list.End());
  EXPECT_EQ(list.Erase(PointerListItr()), list.Begin());
  EXPECT_EQ(list.Erase(list.End()), list.End());
  EXPECT_EQ(list.Size(), 3u);

  PointerListItr second = list.Begin();
  ++second;
  EXPECT_EQ(*list.Erase(second), &c);
  EXPECT_EQ(Contents(list), (std::vector<const void*>{&a, &c}));
  list.PopBack();
  list.PopFront();
  EXPECT_TRUE(list.Empty());
  EXPECT_EQ(list.Begin(), list.End());
}

TEST(PointerListTest, RangeEraseStopsBeforeLast) {
  PointerList list = ListOf({&a, &b, &c, &d});
  PointerListItr first = list.Begin();
  PointerListItr last = first;
  ++++++last;
  EXPECT_EQ(*list.Erase(++first, last), &d);
  EXPECT_EQ(Contents(list), (std::vector<const void*>{&a, &d}));
  EXPECT_EQ(list.Erase(list.Begin(), list.End()), list.End());
  EXPECT_TRUE(list.Empty());
}

TEST(PointerListTest, CopiesShareThePointedObjects) {
  PointerList original = ListOf({&a, &b});
  PointerList copy(original);
  PointerList assigned = ListOf({&d});
  assigned = original;
  original.PushBack(&c);
  EXPECT_EQ(Contents(copy), (std::vector<const void*>{&a, &b}));
  EXPECT_EQ(Contents(assigned), (std::vector<const void*>{&a, &b}));
  EXPECT_EQ(copy.Front(), original.Front());

  PointerList& alias = assigned;
  assigned = alias;
  EXPECT_EQ(Contents(assigned), (std::vector<const void*>{&a, &b}));
  EXPECT_EQ(assigned.Size(), 2u);
}
