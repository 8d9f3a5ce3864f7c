#include "comm/PtrLinkList.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class Recorded : public LinkElement_Dual {
 public:
  Recorded(int id, std::vector<int>* destroyed) : id(id), destroyed(destroyed) {}
  ~Recorded() override {
    if (destroyed) destroyed->push_back(id);
  }
  int id;
  std::vector<int>* destroyed;
};

int IdOf(LinkElement_Dual* element) { return element ? static_cast<Recorded*>(element)->id : -1; }

}  // namespace

TEST(PtrLinkListTest, IndexIsNullFromTheCountOn) {
  PtrLinkList empty;
  EXPECT_TRUE(empty.isValid());
  EXPECT_EQ(empty.index(0), nullptr);

  PtrLinkList list(new Recorded(0, nullptr));
  EXPECT_TRUE(list.isValid());
  EXPECT_FALSE(list.add(nullptr));
  EXPECT_TRUE(list.add(new Recorded(1, nullptr)));
  EXPECT_TRUE(list.add(new Recorded(2, nullptr)));
  EXPECT_EQ(list.count(), 3u);
  EXPECT_EQ(IdOf(list.index(0)), 0);
  EXPECT_EQ(IdOf(list.index(2)), 2);
  EXPECT_EQ(list.index(3), nullptr);
  EXPECT_EQ(list.index(65535), nullptr);
}

TEST(PtrLinkListTest, WalksBothWaysToNull) {
  PtrLinkList list;
  for (int id = 0; id < 3; ++id) list.add(new Recorded(id, nullptr));

  std::vector<int> forward;
  LinkElementDualIterator it(list);
  for (; *it; ++it) forward.push_back(IdOf(*it));
  EXPECT_EQ(forward, (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(*++it, nullptr);

  std::vector<int> backward;
  for (LinkElementDualIterator back(list.index(2)); *back; back--) backward.push_back(IdOf(*back));
  EXPECT_EQ(backward, (std::vector<int>{2, 1, 0}));

  LinkElementDualIterator second(list);
  LinkElementDualIterator old = second++;
  EXPECT_EQ(IdOf(*old), 0);
  EXPECT_EQ(IdOf(*second), 1);
  EXPECT_EQ(--second, LinkElementDualIterator(list));
}

TEST(PtrLinkListTest, DestroysElementsFirstFirst) {
  std::vector<int> destroyed;
  {
    PtrLinkList list;
    for (int id = 0; id < 3; ++id) list.add(new Recorded(id, &destroyed));
  }
  EXPECT_EQ(destroyed, (std::vector<int>{0, 1, 2}));
}

TEST(PtrLinkListTest, RefusesElementsBeyondSixteenBitCount) {
  PtrLinkList list;
  for (unsigned n = 0; n < 65534; ++n) ASSERT_TRUE(list.add(new Recorded(0, nullptr)));
  ASSERT_TRUE(list.add(new Recorded(7, nullptr)));
  Recorded extra(8, nullptr);
  EXPECT_FALSE(list.add(&extra));
  EXPECT_EQ(list.count(), 65535u);
  EXPECT_EQ(IdOf(list.index(65534)), 7);
}
