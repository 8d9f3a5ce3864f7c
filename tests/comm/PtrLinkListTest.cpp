#include "comm/PtrLinkList.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<int> destroyed;

class Recorded : public LinkElement_Dual {
 public:
  explicit Recorded(int id) : id(id) {}
  ~Recorded() override { destroyed.push_back(id); }
  int id;
};

int IdOf(LinkElement_Dual* element) { return element ? static_cast<Recorded*>(element)->id : -1; }

}  // namespace

TEST(PtrLinkListTest, IndexIsNullFromTheCountOnAndFirstIsDestroyedFirst) {
  destroyed.clear();
  {
    EXPECT_EQ(PtrLinkList().index(0), nullptr);
    PtrLinkList list(new Recorded(0));
    EXPECT_FALSE(list.add(nullptr));
    list.add(new Recorded(1));
    list.add(new Recorded(2));
    EXPECT_EQ(list.count(), 3u);
    EXPECT_EQ(IdOf(list.index(2)), 2);
    EXPECT_EQ(list.index(3), nullptr);
  }
  EXPECT_EQ(destroyed, (std::vector<int>{0, 1, 2}));
}

TEST(PtrLinkListTest, WalksBothWaysToNull) {
  PtrLinkList list;
  for (int id = 0; id < 3; ++id) list.add(new Recorded(id));
  std::vector<int> visited;
  LinkElementDualIterator it(list);
  for (; *it; it++) visited.push_back(IdOf(*it));
  EXPECT_EQ(*++it, nullptr);
  for (LinkElementDualIterator back(list.index(2)); *back; --back) visited.push_back(IdOf(*back));
  EXPECT_EQ(visited, (std::vector<int>{0, 1, 2, 2, 1, 0}));
}

TEST(PtrLinkListTest, RefusesElementsBeyondSixteenBitCount) {
  PtrLinkList list;
  for (unsigned n = 0; n < 65534; ++n) ASSERT_TRUE(list.add(new Recorded(0)));
  ASSERT_TRUE(list.add(new Recorded(7)));
  Recorded extra(8);
  EXPECT_FALSE(list.add(&extra));
  EXPECT_EQ(list.count(), 65535u);
  EXPECT_EQ(IdOf(list.index(65534)), 7);
}
