#include "foundation/DocumentStorage.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "foundation/CString.h"
#include "foundation/PointerList.h"

namespace {

bool Aligned(const void* block) {
  return reinterpret_cast<std::uintptr_t>(block) % alignof(std::max_align_t) == 0;
}

// Blocks of every size, small ones sharing chunks and large ones beyond a chunk,
// keep their own bytes however many follow them.
TEST(DocumentStorageTest, BlocksAreAlignedDistinctAndKeepTheirBytes) {
  DocumentStorage storage;
  EXPECT_EQ(storage.Allocate(0), nullptr);
  EXPECT_EQ(storage.Copy("x", 0), nullptr);
  std::vector<std::pair<unsigned char*, size_t>> blocks;
  for (size_t size : {1, 7, 16, 17, 100, 5000, 9000, 70000, 3, 65536}) {
    for (int copy = 0; copy < 40; ++copy) {
      auto* block = static_cast<unsigned char*>(storage.Allocate(size));
      ASSERT_NE(block, nullptr);
      EXPECT_TRUE(Aligned(block)) << size;
      std::memset(block, int(blocks.size() & 0xFF), size);
      blocks.emplace_back(block, size);
    }
  }
  for (size_t i = 0; i < blocks.size(); ++i) {
    const auto& [block, size] = blocks[i];
    EXPECT_EQ(block[0], i & 0xFF);
    EXPECT_EQ(block[size - 1], i & 0xFF);
  }
  size_t total = 0;
  for (const auto& block : blocks) total += block.second;
  EXPECT_GE(storage.ChunkBytes(), total);
  // Carved, not one chunk per block.
  EXPECT_LT(storage.ChunkBytes(), 2 * total);
  const char text[] = "abc\0def";
  auto* copied = static_cast<const char*>(storage.Copy(text, sizeof text));
  EXPECT_EQ(std::memcmp(copied, text, sizeof text), 0);
}

struct Probe {
  explicit Probe(int* destroyed) : mDestroyed(destroyed) {}
  ~Probe() { ++*mDestroyed; }
  int* mDestroyed;
  char mPayload[40] = {};
};

// An object made in storage carries nothing in front of it and is aligned only
// as its kind needs: the nodes of a list placed there take no more room than
// bare blocks of a node's size. Destroy ends what Make made.
TEST(DocumentStorageTest, ObjectsMadeInStorageTakeOnlyTheirOwnRoom) {
  constexpr int kNodes = 20000;
  DocumentStorage nodes;
  DocumentStorage blocks;
  PointerList list;
  list.PlaceNodesIn(nodes);
  for (int node = 0; node < kNodes; ++node) {
    list.PushBack(&list);
    ASSERT_NE(blocks.Allocate(sizeof(PNode)), nullptr);
  }
  EXPECT_EQ(list.Size(), unsigned(kNodes));
  EXPECT_LE(nodes.ChunkBytes(), blocks.ChunkBytes());

  int destroyed = 0;
  Probe* probe = nodes.Make<Probe>(&destroyed);
  EXPECT_EQ(probe->mDestroyed, &destroyed);
  EXPECT_TRUE(reinterpret_cast<std::uintptr_t>(probe) % alignof(Probe) == 0);
  DocumentStorage::Destroy(probe);
  DocumentStorage::Destroy<Probe>(nullptr);
  EXPECT_EQ(destroyed, 1);
}

// A stored text reads as its copy; any change moves it to a buffer of its own,
// which stays valid after the storage is gone.
TEST(DocumentStorageTest, StoredTextsChangeIntoTextsOfTheirOwn) {
  std::unique_ptr<CString> kept;
  std::unique_ptr<CString> copy;
  {
    DocumentStorage storage;
    std::string source = "Tray";
    auto* stored = storage.Make<CString>(source.c_str(), storage);
    source[0] = 'X';
    EXPECT_STREQ(*stored, "Tray");
    EXPECT_EQ(stored->Size(), 4u);
    copy = std::make_unique<CString>(*stored);
    kept.reset(new CString("Upper", storage));
    *kept + " Tray";
    EXPECT_STREQ(*kept, "Upper Tray");
    CString unset(nullptr, storage);
    EXPECT_EQ(static_cast<const char*>(unset), nullptr);
    CString empty("", storage);
    EXPECT_STREQ(empty, "");
    DocumentStorage::Destroy(stored);
  }
  EXPECT_STREQ(*kept, "Upper Tray");
  EXPECT_STREQ(*copy, "Tray");
}

// Nodes go where their list says; a copy of a list takes heap nodes, so it
// lives on after the storage of the original's nodes. Spliced pointers keep
// to the place of the list they join: a list with heap nodes outlives the
// storage it took pointers from, and an empty list that takes stored nodes
// gives them back to their storage (the sanitizer build reports any node
// handed to the wrong place).
TEST(DocumentStorageTest, ListNodesInStorageAndCopiesOnTheHeap) {
  int values[] = {1, 2, 3};
  std::unique_ptr<PointerList> copy;
  PointerList outliving;
  outliving.PushBack(&values[0]);
  {
    DocumentStorage storage;
    PointerList list;
    list.PlaceNodesIn(storage);
    for (int& value : values) list.PushBack(&value);
    const size_t carved = storage.ChunkBytes();
    EXPECT_GT(carved, 0u);
    copy = std::make_unique<PointerList>(list);
    EXPECT_EQ(storage.ChunkBytes(), carved);
    list.Erase(list.Begin());
    EXPECT_EQ(list.Size(), 2u);
    EXPECT_EQ(list.Front(), &values[1]);
    PointerList heap;
    heap.PushBack(&values[0]);
    list.Splice(heap);
    EXPECT_TRUE(heap.Empty());
    EXPECT_EQ(list.Back(), &values[0]);
    PointerList adopting;
    adopting.Splice(list);
    EXPECT_EQ(adopting.Size(), 3u);
    adopting.PushBack(&values[1]);
    outliving.Splice(adopting);
    EXPECT_TRUE(adopting.Empty());
    PointerList stored;
    stored.PlaceNodesIn(storage);
    stored.PushBack(&values[2]);
    adopting.Splice(stored);
    EXPECT_EQ(adopting.Front(), &values[2]);
  }
  ASSERT_EQ(copy->Size(), 3u);
  const int* expected = values;
  for (ConstPointerListItr at = copy->Begin(); at != copy->End(); ++at, ++expected)
    EXPECT_EQ(*at, expected);
  const int* spliced[] = {&values[0], &values[1], &values[2], &values[0], &values[1]};
  ASSERT_EQ(outliving.Size(), 5u);
  ConstPointerListItr at = outliving.Begin();
  for (const int* value : spliced) EXPECT_EQ(*at++, value);
}

#if defined(__SANITIZE_ADDRESS__)
// The sanitizer build keeps nothing between documents: a block read after its
// document went, or a block released within it, is reported as on the heap.
TEST(DocumentStorageTest, UsesAfterTheDocumentOrARelease) {
  EXPECT_DEATH(
      {
        auto* storage = new DocumentStorage;
        auto* block = static_cast<volatile char*>(storage->Allocate(24));
        delete storage;
        (void)block[0];
      },
      "heap-use-after-free");
  EXPECT_DEATH(
      {
        DocumentStorage storage;
        auto* block = static_cast<volatile char*>(storage.Allocate(24));
        storage.Release(const_cast<char*>(block), 24);
        (void)block[1];
      },
      "use-after-poison");
  // A list's stored nodes, erased or gone with their list, stay poisoned until
  // the storage goes.
  int value = 0;
  EXPECT_DEATH(
      {
        DocumentStorage storage;
        PointerList list;
        list.PlaceNodesIn(storage);
        list.PushBack(&value);
        PointerListItr erased = list.Begin();
        list.Erase(erased);
        (void)*erased;
      },
      "use-after-poison");
  EXPECT_DEATH(
      {
        DocumentStorage storage;
        PointerListItr left;
        {
          PointerList list;
          list.PlaceNodesIn(storage);
          list.PushBack(&value);
          left = list.Begin();
        }
        (void)*left;
      },
      "use-after-poison");
}
#endif

}  // namespace
