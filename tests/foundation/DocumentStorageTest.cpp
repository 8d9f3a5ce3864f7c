#include "foundation/DocumentStorage.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "foundation/CString.h"
#include "foundation/PointerList.h"
#include "foundation/StorageObject.h"

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

struct Probe : public StorageObject {
  explicit Probe(int* destroyed) : mDestroyed(destroyed) {}
  ~Probe() { ++*mDestroyed; }
  int* mDestroyed;
  char mPayload[40] = {};
};

// Whoever deletes an object need not know where it lives: delete runs the
// destructor for both kinds, and the heap gets back only its own blocks (the
// sanitizer build reports a wrong free).
TEST(DocumentStorageTest, ObjectsInStorageOrOnTheHeapAreDeletedAlike) {
  int destroyed = 0;
  DocumentStorage storage;
  Probe* stored = new (storage) Probe(&destroyed);
  Probe* onHeap = new Probe(&destroyed);
  Probe* spared = new (std::nothrow) Probe(&destroyed);
  EXPECT_EQ(StorageObject::StorageOf(stored), &storage);
  EXPECT_EQ(StorageObject::StorageOf(onHeap), nullptr);
  EXPECT_EQ(StorageObject::StorageOf(spared), nullptr);
  EXPECT_EQ(StorageObject::StorageOf(nullptr), nullptr);
  EXPECT_TRUE(Aligned(stored));
  EXPECT_TRUE(Aligned(onHeap));
  delete stored;
  delete onHeap;
  delete spared;
  EXPECT_EQ(destroyed, 3);
}

// A stored text reads as its copy; any change moves it to a buffer of its own,
// which stays valid after the storage is gone.
TEST(DocumentStorageTest, StoredTextsChangeIntoTextsOfTheirOwn) {
  std::unique_ptr<CString> kept;
  std::unique_ptr<CString> copy;
  {
    DocumentStorage storage;
    std::string source = "Tray";
    auto* stored = new (storage) CString(source.c_str(), storage);
    source[0] = 'X';
    EXPECT_STREQ(*stored, "Tray");
    EXPECT_EQ(stored->Size(), 4u);
    EXPECT_EQ(StorageObject::StorageOf(stored), &storage);
    copy = std::make_unique<CString>(*stored);
    kept.reset(new CString("Upper", storage));
    *kept + " Tray";
    EXPECT_STREQ(*kept, "Upper Tray");
    CString unset(nullptr, storage);
    EXPECT_EQ(static_cast<const char*>(unset), nullptr);
    CString empty("", storage);
    EXPECT_STREQ(empty, "");
    delete stored;
  }
  EXPECT_STREQ(*kept, "Upper Tray");
  EXPECT_STREQ(*copy, "Tray");
}

// Nodes go where their list says; a copy of a list takes heap nodes, so it
// lives on after the storage of the original's nodes.
TEST(DocumentStorageTest, ListNodesInStorageAndCopiesOnTheHeap) {
  int values[] = {1, 2, 3};
  std::unique_ptr<PointerList> copy;
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
    EXPECT_EQ(list.Back(), &values[0]);
  }
  ASSERT_EQ(copy->Size(), 3u);
  const int* expected = values;
  for (ConstPointerListItr at = copy->Begin(); at != copy->End(); ++at, ++expected)
    EXPECT_EQ(*at, expected);
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
}
#endif

}  // namespace
