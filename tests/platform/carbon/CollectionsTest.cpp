#include "carbon/Collections.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "carbon/MacErrors.h"
#include "carbon/MacMemory.h"

namespace {

struct CollectionDeleter {
  void operator()(OpaqueCollection* c) const { DisposeCollection(c); }
};
using CollectionPtr = std::unique_ptr<OpaqueCollection, CollectionDeleter>;

struct HandleDeleter {
  void operator()(char** h) const { DisposeHandle(h); }
};
using HandlePtr = std::unique_ptr<char*, HandleDeleter>;

HandlePtr HandleWith(const std::vector<unsigned char>& bytes) {
  HandlePtr h(NewHandle(Size(bytes.size())));
  if (!bytes.empty()) std::memcpy(*h, bytes.data(), bytes.size());
  return h;
}

std::vector<unsigned char> BytesOf(Handle h) {
  auto* begin = reinterpret_cast<unsigned char*>(*h);
  return std::vector<unsigned char>(begin, begin + GetHandleSize(h));
}

void Add(Collection c, CollectionTag tag, SInt32 id, const std::string& text) {
  ASSERT_EQ(noErr, AddCollectionItem(c, tag, id, SInt32(text.size()), text.data()));
}

std::string ItemText(Collection c, CollectionTag tag, SInt32 id) {
  SInt32 size = 0;
  if (GetCollectionItem(c, tag, id, &size, nullptr) != noErr) return "<missing>";
  std::string text(std::size_t(size), '\0');
  EXPECT_EQ(noErr, GetCollectionItem(c, tag, id, nullptr, text.data()));
  return text;
}

// The id of the item at a 1-based index; -1 when the call fails.
SInt32 IdAt(Collection c, SInt32 index) {
  SInt32 id = 0;
  if (GetIndexedCollectionItemInfo(c, index, nullptr, &id, nullptr, nullptr) != noErr) return -1;
  return id;
}

}  // namespace

TEST(Collections, AddReplacesInPlaceAndGetHonoursTheBufferSize) {
  CollectionPtr c(NewCollection());
  Add(c.get(), FourCC("KyWd"), 1, "first");
  Add(c.get(), FourCC("KyWd"), 2, "second");
  ASSERT_EQ(noErr, SetCollectionItemInfo(c.get(), FourCC("KyWd"), 1, 0x0F, 0x05));
  Add(c.get(), FourCC("KyWd"), 1, "replaced");

  EXPECT_EQ(2, CountCollectionItems(c.get()));
  SInt32 index = 0, size = 0, attributes = 0;
  ASSERT_EQ(noErr, GetCollectionItemInfo(c.get(), FourCC("KyWd"), 1, &index, &size, &attributes));
  EXPECT_EQ(1, index);
  EXPECT_EQ(8, size);
  EXPECT_EQ(0x05, attributes);
  EXPECT_EQ("replaced", ItemText(c.get(), FourCC("KyWd"), 1));

  char buffer[6] = {'#', '#', '#', '#', '#', '#'};
  size = 3;
  ASSERT_EQ(noErr, GetCollectionItem(c.get(), FourCC("KyWd"), 2, &size, buffer));
  EXPECT_EQ(3, size);
  EXPECT_EQ(std::string("sec###"), std::string(buffer, 6));

  EXPECT_EQ(collectionItemNotFoundErr, GetCollectionItem(c.get(), FourCC("KyWD"), 1, &size, buffer));
  EXPECT_EQ(collectionItemNotFoundErr, SetCollectionItemInfo(c.get(), FourCC("PopC"), 1, -1, 0));
  EXPECT_EQ(paramErr, AddCollectionItem(c.get(), FourCC("PopC"), 1, 4, nullptr));

  ASSERT_EQ(noErr, SetCollectionItemInfo(c.get(), FourCC("KyWd"), 2, -1, 0x00F0F0F0));
  ASSERT_EQ(noErr, SetCollectionItemInfo(c.get(), FourCC("KyWd"), 2, SInt32(kCollectionLockMask | 0x30),
                                         SInt32(kCollectionLockMask | 0x0F)));
  ASSERT_EQ(noErr, GetCollectionItemInfo(c.get(), FourCC("KyWd"), 2, nullptr, nullptr, &attributes));
  EXPECT_EQ(UInt32(0x80F0F0C0), UInt32(attributes));
}

// Random adds, replacements and removals against a plain ordered list.
TEST(Collections, MatchesAnOrderedListUnderRandomEdits) {
  CollectionPtr c(NewCollection());
  std::vector<std::pair<SInt32, std::string>> model;
  std::mt19937 random(12345);
  for (int step = 0; step < 4000; ++step) {
    SInt32 id = SInt32(random() % 300);
    auto found = std::find_if(model.begin(), model.end(),
                              [id](const auto& entry) { return entry.first == id; });
    if (random() % 3 == 0) {
      EXPECT_EQ(found == model.end() ? OSErr(collectionItemNotFoundErr) : OSErr(noErr),
                RemoveCollectionItem(c.get(), 'R', id));
      if (found != model.end()) model.erase(found);
    } else {
      std::string text = std::to_string(step);
      Add(c.get(), 'R', id, text);
      if (found == model.end()) model.emplace_back(id, text);
      else found->second = text;
    }
    if (step % 97 != 0 || model.empty()) continue;
    ASSERT_EQ(SInt32(model.size()), CountCollectionItems(c.get()));
    for (std::size_t k = 0; k < model.size(); ++k) {
      ASSERT_EQ(model[k].first, IdAt(c.get(), SInt32(k + 1)));
      ASSERT_EQ(model[k].second, ItemText(c.get(), 'R', model[k].first));
    }
    // Replacing by index and asking an item's index, right after a removal.
    RemoveCollectionItem(c.get(), 'R', model.front().first);
    model.erase(model.begin());
    const SInt32 last = SInt32(model.size());
    ASSERT_EQ(noErr, ReplaceIndexedCollectionItem(c.get(), last, 1, "z"));
    model.back().second = "z";
    SInt32 index = 0;
    ASSERT_EQ(noErr, GetCollectionItemInfo(c.get(), 'R', model.back().first, &index, nullptr, nullptr));
    EXPECT_EQ(last, index);
    EXPECT_EQ(collectionIndexRangeErr, ReplaceIndexedCollectionItem(c.get(), last + 1, 1, "x"));
    EXPECT_EQ(-1, IdAt(c.get(), 0));
  }
}

TEST(Collections, CopyEmptiesTheDestinationAndIsIndependent) {
  CollectionPtr source(NewCollection());
  CollectionPtr target(NewCollection());
  Add(source.get(), 'A', 1, "one");
  Add(target.get(), 'B', 1, "stale");
  ASSERT_EQ(target.get(), CopyCollection(source.get(), target.get()));
  Add(source.get(), 'A', 1, "changed");
  EXPECT_EQ(1, CountCollectionItems(target.get()));
  EXPECT_EQ("one", ItemText(target.get(), 'A', 1));
  EXPECT_EQ(nullptr, CopyCollection(source.get(), nullptr));
}

TEST(Collections, FlattenedFormIsBigEndianFraming) {
  CollectionPtr c(NewCollection());
  Add(c.get(), FourCC("KyWd"), -2, "ab");
  ASSERT_EQ(noErr, SetCollectionItemInfo(c.get(), FourCC("KyWd"), -2, -1, 0x01020304));
  HandlePtr h(NewHandle(0));
  ASSERT_EQ(noErr, FlattenCollectionToHdl(c.get(), h.get()));
  const std::vector<unsigned char> expected = {
      'C', 'o', 'l', 'l', 0, 0, 0, 1, 0, 0, 0, 1,           // header
      'K', 'y', 'W', 'd', 0xFF, 0xFF, 0xFF, 0xFE, 1, 2, 3, 4,  // tag, id, attributes
      0, 0, 0, 2, 'a', 'b'};                                  // length, bytes
  EXPECT_EQ(expected, BytesOf(h.get()));
}

TEST(Collections, UnflattenRestoresOrderDataAndAttributesOverExistingItems) {
  CollectionPtr source(NewCollection());
  for (SInt32 id = 10; id > 0; --id) Add(source.get(), 'S', id, std::string(std::size_t(id), 'x'));
  Add(source.get(), 'E', 0, "");
  ASSERT_EQ(noErr, SetCollectionItemInfo(source.get(), 'S', 3, -1, SInt32(kCollectionLockMask)));
  HandlePtr h(NewHandle(0));
  ASSERT_EQ(noErr, FlattenCollectionToHdl(source.get(), h.get()));

  CollectionPtr target(NewCollection());
  Add(target.get(), 'S', 5, "old");
  Add(target.get(), 'K', 1, "kept");
  ASSERT_EQ(noErr, UnflattenCollectionFromHdl(target.get(), h.get()));

  ASSERT_EQ(12, CountCollectionItems(target.get()));
  EXPECT_EQ(5, IdAt(target.get(), 1));
  EXPECT_EQ(10, IdAt(target.get(), 3));
  EXPECT_EQ(0, IdAt(target.get(), 12));
  EXPECT_EQ("xxxxx", ItemText(target.get(), 'S', 5));
  EXPECT_EQ("kept", ItemText(target.get(), 'K', 1));
  EXPECT_EQ("", ItemText(target.get(), 'E', 0));
  SInt32 attributes = 0;
  ASSERT_EQ(noErr, GetCollectionItemInfo(target.get(), 'S', 3, nullptr, nullptr, &attributes));
  EXPECT_EQ(kCollectionLockMask, UInt32(attributes));
}

// Every damaged block is refused without reading outside it (each test block
// sits in a handle of exactly its size) and without touching the collection.
TEST(Collections, DamagedFlattenedBlocksAreRefusedAndChangeNothing) {
  CollectionPtr source(NewCollection());
  Add(source.get(), 'A', 1, "alpha");
  Add(source.get(), 'B', 2, "beta");
  HandlePtr h(NewHandle(0));
  ASSERT_EQ(noErr, FlattenCollectionToHdl(source.get(), h.get()));
  const std::vector<unsigned char> good = BytesOf(h.get());

  CollectionPtr target(NewCollection());
  Add(target.get(), 'A', 1, "mine");
  auto expectRefused = [&](std::vector<unsigned char> block, OSErr expected) {
    HandlePtr damaged = HandleWith(block);
    EXPECT_EQ(expected, UnflattenCollectionFromHdl(target.get(), damaged.get()));
    EXPECT_EQ(1, CountCollectionItems(target.get()));
    EXPECT_EQ("mine", ItemText(target.get(), 'A', 1));
  };

  for (std::size_t size = 0; size < good.size(); ++size)
    expectRefused(std::vector<unsigned char>(good.begin(), good.begin() + long(size)), paramErr);

  std::vector<unsigned char> block = good;
  block[12 + 15] = 0x7F;  // first item's length runs past the end
  expectRefused(block, paramErr);
  block = good;
  block[8] = 0x7F;  // count far beyond what the bytes can hold
  expectRefused(block, paramErr);
  block = good;
  block[11] = 3;  // one item more than present
  expectRefused(block, paramErr);
  block = good;
  block.push_back(0);  // trailing byte
  expectRefused(block, paramErr);
  block = good;
  block[7] = 2;  // unknown version
  expectRefused(block, collectionVersionErr);
}
