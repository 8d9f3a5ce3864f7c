#include "carbon/Collections.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "carbon/MacErrors.h"
#include "carbon/MacMemory.h"
#include "support/CollectionAnswers.h"

namespace {

using Bytes = std::vector<unsigned char>;

// Each test owns one collection, freed with it.
class Collections : public ::testing::Test {
 protected:
  ~Collections() override { DisposeCollection(c); }

  void Add(CollectionTag tag, SInt32 id, const std::string& text) {
    ASSERT_EQ(noErr, AddCollectionItem(c, tag, id, SInt32(text.size()), text.data()));
  }

  std::string ItemText(CollectionTag tag, SInt32 id) {
    SInt32 size = 0;
    if (GetCollectionItem(c, tag, id, &size, nullptr) != noErr) return "<missing>";
    std::string text(std::size_t(size), '\0');
    GetCollectionItem(c, tag, id, nullptr, text.data());
    return text;
  }

  // The id at a 1-based index; -1 when the call fails.
  SInt32 IdAt(SInt32 index) {
    SInt32 id = 0;
    if (GetIndexedCollectionItemInfo(c, index, nullptr, &id, nullptr, nullptr) != noErr) return -1;
    return id;
  }

  Bytes Flattened() {
    Handle h = NewHandle(0);
    EXPECT_EQ(noErr, FlattenCollectionToHdl(c, h));
    Bytes bytes(*h, *h + GetHandleSize(h));
    DisposeHandle(h);
    return bytes;
  }

  // Unflattens from a handle of exactly the block's size, so that ASan sees any
  // read past it.
  OSErr Unflatten(const Bytes& block) {
    Handle h = NewHandle(Size(block.size()));
    std::copy(block.begin(), block.end(), *h);
    OSErr result = UnflattenCollectionFromHdl(c, h);
    DisposeHandle(h);
    return result;
  }

  Collection c = NewCollection();
};

void PutBigEndian(Bytes& out, UInt32 value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back((unsigned char)(value >> shift));
}

// A flattened block of `count` items with random bytes and attributes, in a
// random order: with `repeats`, drawn from few tags and ids, so that many come
// twice or more; otherwise each named once, spread over a few tags as a
// document's entries are.
Bytes RandomBlock(std::mt19937& random, std::size_t count, bool repeats) {
  std::vector<std::pair<UInt32, UInt32>> keys;
  for (std::size_t k = 0; k < count; ++k) {
    if (repeats)
      keys.emplace_back(FourCC("Rp00") + random() % 2, random() % (count / 2 + 1));
    else
      keys.emplace_back(FourCC("Ds00") + k % 4, UInt32(k * 3));
  }
  std::shuffle(keys.begin(), keys.end(), random);
  Bytes block = {'C', 'o', 'l', 'l', 0, 0, 0, 1};
  PutBigEndian(block, UInt32(count));
  for (const auto& [tag, id] : keys) {
    PutBigEndian(block, tag);
    PutBigEndian(block, id);
    PutBigEndian(block, UInt32(random()));
    const UInt32 length = random() % 9;
    PutBigEndian(block, length);
    for (UInt32 byte = 0; byte < length; ++byte) block.push_back((unsigned char)random());
  }
  return block;
}

}  // namespace

TEST_F(Collections, AddReplacesInPlaceKeepingAttributesAndGetHonoursTheSize) {
  Add('K', 1, "first");
  Add('K', 2, "second");
  ASSERT_EQ(noErr, SetCollectionItemInfo(c, 'K', 1, SInt32(kCollectionLockMask | 0x0F),
                                         SInt32(kCollectionLockMask | 0x35)));
  Add('K', 1, "replaced");
  SInt32 index = 0, size = 0, attributes = 0;
  ASSERT_EQ(noErr, GetCollectionItemInfo(c, 'K', 1, &index, &size, &attributes));
  EXPECT_EQ(1, index);
  EXPECT_EQ(8, size);
  EXPECT_EQ(kCollectionLockMask | 0x05, UInt32(attributes));

  char buffer[6] = {'#', '#', '#', '#', '#', '#'};
  size = 3;
  ASSERT_EQ(noErr, GetCollectionItem(c, 'K', 2, &size, buffer));
  EXPECT_EQ(3, size);
  EXPECT_EQ("sec###", std::string(buffer, 6));
  EXPECT_EQ(collectionItemNotFoundErr, GetCollectionItem(c, 'K', 3, &size, buffer));
}

// Random adds, replacements and removals against a plain ordered list; indexed
// calls come right after removals, where holes are still to be closed, and an
// item just read and then removed must not be found again. The collection
// starts from an empty block, which holds no key twice.
TEST_F(Collections, MatchesAnOrderedListUnderRandomEdits) {
  ASSERT_EQ(noErr, Unflatten({'C', 'o', 'l', 'l', 0, 0, 0, 1, 0, 0, 0, 0}));
  std::vector<std::pair<SInt32, std::string>> model;
  std::mt19937 random(12345);
  for (int step = 0; step < 4000; ++step) {
    SInt32 id = SInt32(random() % 300);
    auto found = std::find_if(model.begin(), model.end(),
                              [id](const auto& entry) { return entry.first == id; });
    if (random() % 3 == 0) {
      // Read first, so that the item is the one the store expects to be asked for again.
      EXPECT_EQ(found == model.end() ? "<missing>" : found->second, ItemText('R', id));
      EXPECT_EQ(found == model.end(),
                RemoveCollectionItem(c, 'R', id) == collectionItemNotFoundErr);
      if (found != model.end()) model.erase(found);
      ASSERT_EQ("<missing>", ItemText('R', id));
    } else {
      Add('R', id, std::to_string(step));
      if (found == model.end())
        model.emplace_back(id, std::to_string(step));
      else
        found->second = std::to_string(step);
    }
    if (step % 97 != 0 || model.empty()) continue;
    const SInt32 last = SInt32(model.size());
    ASSERT_EQ(last, CountCollectionItems(c));
    ASSERT_EQ(noErr, ReplaceIndexedCollectionItem(c, last, 1, "z"));
    model.back().second = "z";
    for (std::size_t k = 0; k < model.size(); ++k) {
      ASSERT_EQ(model[k].first, IdAt(SInt32(k + 1)));
      ASSERT_EQ(model[k].second, ItemText('R', model[k].first));
    }
    SInt32 index = 0;
    ASSERT_EQ(noErr, GetCollectionItemInfo(c, 'R', model.back().first, &index, nullptr, nullptr));
    EXPECT_EQ(last, index);
    EXPECT_EQ(collectionIndexRangeErr, ReplaceIndexedCollectionItem(c, last + 1, 1, "x"));
    EXPECT_EQ(-1, IdAt(0));
  }
}

TEST_F(Collections, FlattenedFormIsBigEndianFramingAndComesBackOverExistingItems) {
  Add(FourCC("KyWd"), -2, "ab");
  ASSERT_EQ(noErr, SetCollectionItemInfo(c, FourCC("KyWd"), -2, -1, 0x01020304));
  Add('E', 0, "");
  const Bytes block = Flattened();
  const Bytes expected = {
      'C', 'o', 'l', 'l', 0,    0,    0,    1,    0, 0, 0, 2,  // header
      'K', 'y', 'W', 'd', 0xFF, 0xFF, 0xFF, 0xFE, 1, 2, 3, 4,  // tag, id, attributes
      0,   0,   0,   2,   'a',  'b',                           // length, bytes
      0,   0,   0,   'E', 0,    0,    0,    0,    0, 0, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(expected, block);

  DisposeCollection(c);
  c = NewCollection();
  Add('E', 0, "old");
  Add('K', 1, "kept");
  ASSERT_EQ(noErr, Unflatten(block));
  EXPECT_EQ(3, CountCollectionItems(c));
  EXPECT_EQ(0, IdAt(1));
  EXPECT_EQ(-2, IdAt(3));
  EXPECT_EQ("", ItemText('E', 0));
  EXPECT_EQ("ab", ItemText(FourCC("KyWd"), -2));
  SInt32 attributes = 0;
  ASSERT_EQ(noErr, GetCollectionItemInfo(c, FourCC("KyWd"), -2, nullptr, nullptr, &attributes));
  EXPECT_EQ(0x01020304, attributes);

  // A block that names an item twice reads as if the second were added over the
  // first; a copy keeps the bytes its original pointed into.
  Bytes twice = block;
  twice[11] = 3;
  twice.insert(twice.end(), {0, 0, 0, 'E', 0, 0, 0, 0, 0, 0, 0, 7, 0, 0, 0, 1, '!'});
  DisposeCollection(c);
  c = NewCollection();
  ASSERT_EQ(noErr, Unflatten(twice));
  Collection copy = CopyCollection(c, NewCollection());
  DisposeCollection(c);
  c = copy;
  EXPECT_EQ(2, CountCollectionItems(c));
  EXPECT_EQ(0, IdAt(2));
  EXPECT_EQ("!", ItemText('E', 0));
  ASSERT_EQ(noErr, GetCollectionItemInfo(c, 'E', 0, nullptr, nullptr, &attributes));
  EXPECT_EQ(7, attributes);
  EXPECT_EQ("ab", ItemText(FourCC("KyWd"), -2));
}

// Removals squeeze the items together: an item read where a walk stood
// before, now past the last item, comes from its new place.
TEST_F(Collections, ItemsReadAfterCompactionComeFromTheirNewPlaces) {
  for (SInt32 id = 0; id < 40; ++id) Add('C', id, "v" + std::to_string(id));
  ASSERT_EQ("v39", ItemText('C', 39));
  for (SInt32 id = 0; id <= 20; ++id) ASSERT_EQ(noErr, RemoveCollectionItem(c, 'C', id));
  for (SInt32 id : {25, 30, 38, 21, 39})
    EXPECT_EQ("v" + std::to_string(id), ItemText('C', id)) << id;
  EXPECT_EQ(19, CountCollectionItems(c));
}

TEST_F(Collections, DamagedFlattenedBlocksAreRefusedAndChangeNothing) {
  Add('A', 1, "alpha");
  Add('B', 2, "beta");
  const Bytes good = Flattened();
  RemoveCollectionItem(c, 'B', 2);
  Add('A', 1, "mine");
  auto expectRefused = [this](const Bytes& block, OSErr expected) {
    EXPECT_EQ(expected, Unflatten(block));
    EXPECT_EQ(1, CountCollectionItems(c));
    EXPECT_EQ("mine", ItemText('A', 1));
  };

  for (std::size_t size = 0; size < good.size(); ++size)  // every truncation
    expectRefused(Bytes(good.begin(), good.begin() + long(size)), paramErr);
  Bytes block = good;
  block[12 + 15] = 0x7F;  // the first item's length runs past the end
  expectRefused(block, paramErr);
  block = good;
  block[8] = 0x7F;  // a count far beyond what the bytes can hold
  expectRefused(block, paramErr);
  block = good;
  block[11] = 3;  // one item more than present
  expectRefused(block, paramErr);
  block = good;
  block.push_back(0);  // a trailing byte
  expectRefused(block, paramErr);
  block = good;
  block[7] = 2;  // an unknown version
  expectRefused(block, collectionVersionErr);

  // Items unflattened just before and not looked at yet stay as they came;
  // those of the refused block, read up to the missing one, go.
  ASSERT_EQ(noErr, Unflatten(good));
  block = good;
  block[11] = 3;
  std::memcpy(&block[12 + 16], "ALPHA", 5);
  EXPECT_EQ(paramErr, Unflatten(block));
  EXPECT_EQ(2, CountCollectionItems(c));
  EXPECT_EQ("alpha", ItemText('A', 1));
  EXPECT_EQ("beta", ItemText('B', 2));
}

// A block read into an empty collection answers by key, position and count
// exactly as the same block does through the keyed index, whether it names
// items twice or not, before and after a change; so does the block that fills
// a collection left empty by a damaged one.
TEST_F(Collections, FreshBlocksAnswerAsThroughTheIndex) {
  using collectionanswers::FirstDifferentAnswer;
  std::mt19937 random(2024);
  for (int trial = 0; trial < 100; ++trial) {
    const bool repeats = trial % 2 == 1;
    const std::size_t count = trial % 10 < 2 ? 2000 + random() % 2000 : random() % 120;
    const Bytes block = RandomBlock(random, count, repeats);
    Handle h = NewHandle(Size(block.size()));
    std::copy(block.begin(), block.end(), *h);
    Collection reference = NewCollection();
    ASSERT_EQ(noErr, collectionanswers::UnflattenTwice(reference, h));
    DisposeHandle(h);

    DisposeCollection(c);
    c = NewCollection();
    if (trial % 5 == 0) {
      ASSERT_EQ(paramErr, Unflatten(Bytes(block.begin(), block.end() - 1)));
    }
    ASSERT_EQ(noErr, Unflatten(block));
    EXPECT_EQ("", FirstDifferentAnswer(c, reference)) << "trial " << trial;

    DisposeCollection(c);
    c = NewCollection();
    ASSERT_EQ(noErr, Unflatten(block));
    for (Collection changed : {c, reference}) {
      CollectionTag tag = 0;
      SInt32 id = 0;
      if (GetIndexedCollectionItemInfo(changed, 1, &tag, &id, nullptr, nullptr) == noErr) {
        ASSERT_EQ(noErr, RemoveCollectionItem(changed, tag, id));
      }
      ASSERT_EQ(noErr, AddCollectionItem(changed, FourCC("New "), 1, 3, "new"));
    }
    EXPECT_EQ("", FirstDifferentAnswer(c, reference)) << "trial " << trial << " changed";
    DisposeCollection(reference);
  }
}
