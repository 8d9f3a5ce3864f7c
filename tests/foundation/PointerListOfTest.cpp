#include "foundation/PointerListOf.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Named {
  explicit Named(const char* text) : text(text) {}
  std::string text;
};

// Counts its ends, wherever it lives.
struct Counted {
  explicit Counted(int* ended) : ended(ended) {}
  ~Counted() { ++*ended; }
  int* ended;
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

// Elements placed where the list's nodes live end there: each one once, through
// the storage for a stored list, with delete for a heap list (the sanitizer
// build reports a stored element handed to delete, and an ended one read
// while its storage lives on).
TEST(PointerListOfTest, EndAllEndsEachElementWhereTheNodesLive) {
  int ended = 0;
  DocumentStorage storage;
  PointerList stored;
  stored.PlaceNodesIn(storage);
  EXPECT_EQ(stored.NodeStorage(), &storage);
  PointerList heap;
  EXPECT_EQ(heap.NodeStorage(), nullptr);
  for (int element = 0; element < 3; ++element) {
    stored.PushBack(storage.Make<Counted>(&ended));
    heap.PushBack(new Counted(&ended));
  }
  PointerListOf<Counted>(stored).EndAll();
  EXPECT_EQ(ended, 3);
  EXPECT_TRUE(stored.Empty());
  PointerListOf<Counted>(heap).EndAll();
  EXPECT_EQ(ended, 6);
  EXPECT_TRUE(heap.Empty());
#if defined(__SANITIZE_ADDRESS__)
  EXPECT_DEATH(
      {
        stored.PushBack(storage.Make<Counted>(&ended));
        int* volatile* left = &PointerListOf<Counted>(stored).Front()->ended;
        PointerListOf<Counted>(stored).EndAll();
        (void)*left;
      },
      "use-after-poison");
#endif
}
