#include "foundation/PointerListOf.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Named {
  explicit Named(const char* text) : text(text) {}
  std::string text;
};

std::vector<std::string> Texts(const PointerList& list) {
  std::vector<std::string> texts;
  for (const Named* element : PointerListOf<const Named>(list)) texts.push_back(element->text);
  return texts;
}

}  // namespace

TEST(PointerListOfTest, GivesBackWhatWasStoredInOrder) {
  PointerList list;
  EXPECT_EQ(PointerListOf<Named>(list).Front(), nullptr);
  EXPECT_TRUE(Texts(list).empty());

  Named first("first"), second("second"), third("third");
  list.PushBack(&second);
  list.PushFront(&first);
  list.PushBack(&third);
  EXPECT_EQ(Texts(list), (std::vector<std::string>{"first", "second", "third"}));
  EXPECT_EQ(PointerListOf<const Named>(list).Front(), &first);

  // Elements reached through the view are the stored objects, not copies.
  for (Named* element : PointerListOf<Named>(list)) element->text += "!";
  EXPECT_EQ(second.text, "second!");

  PointerListItr position = list.Begin();
  EXPECT_EQ(PointerListOf<Named>::At(++position), &second);
  EXPECT_EQ(PointerListOf<Named>::At(list.End()), nullptr);
  EXPECT_EQ(PointerListOf<Named>::At(PointerListItr()), nullptr);
  EXPECT_EQ(PointerListOf<const Named>::At(ConstPointerListItr(list.Begin())), &first);
}

TEST(PointerListOfTest, DeleteAllFreesEveryElementAndEmptiesTheList) {
  PointerList list;
  for (const char* text : {"a", "b", "c"}) list.PushBack(new Named(text));
  PointerList copy(list);
  PointerListOf<Named>(list).DeleteAll();
  EXPECT_TRUE(list.Empty());
  EXPECT_EQ(list.Begin(), list.End());
  // A shallow copy keeps its own nodes, now pointing at freed objects.
  EXPECT_EQ(copy.Size(), 3u);

  PointerListOf<Named>(list).DeleteAll();
  EXPECT_TRUE(list.Empty());
}
