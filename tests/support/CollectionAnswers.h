#pragma once
// Compares the answers of two collections over the same items, question by
// question, for the tests and the fuzz targets: one collection answers as it
// does fresh from a block, the other through its keyed index.

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "carbon/Collections.h"
#include "carbon/MacErrors.h"

namespace collectionanswers {

// A block unflattened twice into one collection answers as it does once (each
// tag and id at its first place, with its last bytes and attributes), but
// through the keyed index: the second copy does not start an empty collection.
inline OSErr UnflattenTwice(Collection c, Handle block) {
  const OSErr first = UnflattenCollectionFromHdl(c, block);
  const OSErr second = UnflattenCollectionFromHdl(c, block);
  return first != noErr ? first : second;
}

inline std::string Number(SInt32 value) { return std::to_string(value); }

// Position (when asked), attributes and bytes of an item, or the error.
inline std::string KeyAnswer(Collection c, CollectionTag tag, SInt32 id, bool withPosition) {
  const void* data = nullptr;
  SInt32 size = 0;
  const OSErr error = GetCollectionItemBytes(c, tag, id, &data, &size);
  if (error != noErr) return "error " + Number(error);
  const std::string bytes(static_cast<const char*>(data), std::size_t(size));
  SInt32 position = 0;
  SInt32 attributes = 0;
  GetCollectionItemInfo(c, tag, id, withPosition ? &position : nullptr, nullptr, &attributes);
  return Number(position) + " " + Number(attributes) + " " + bytes;
}

inline std::string PositionAnswer(Collection c, SInt32 position) {
  CollectionTag tag = 0;
  SInt32 id = 0, size = 0, attributes = 0;
  const OSErr error = GetIndexedCollectionItemInfo(c, position, &tag, &id, &size, &attributes);
  if (error != noErr) return "error " + Number(error);
  return Number(SInt32(tag)) + " " + Number(id) + " " + Number(size) + " " + Number(attributes);
}

// The first question on which `probed` answers otherwise than `reference`,
// with both answers; "" when none does. `probed` is asked by key first, in
// stored order, then in the order of the keys, then for the keys next to those
// it holds, then by key in
// reverse order with positions, then by position and count: the order in
// which a collection fresh from a block may still answer without its index.
inline std::string FirstDifferentAnswer(Collection probed, Collection reference) {
  std::vector<std::pair<CollectionTag, SInt32>> keys;
  const SInt32 count = CountCollectionItems(reference);
  for (SInt32 position = 1; position <= count; ++position) {
    CollectionTag tag = 0;
    SInt32 id = 0;
    GetIndexedCollectionItemInfo(reference, position, &tag, &id, nullptr, nullptr);
    keys.emplace_back(tag, id);
  }
  std::string difference;
  auto compare = [&difference](const std::string& question, const std::string& got,
                               const std::string& expected) {
    if (difference.empty() && got != expected)
      difference = question + ": " + got + " instead of " + expected;
  };
  auto compareKey = [&](CollectionTag tag, SInt32 id, bool withPosition) {
    compare("key " + Number(SInt32(tag)) + "/" + Number(id),
            KeyAnswer(probed, tag, id, withPosition), KeyAnswer(reference, tag, id, withPosition));
  };
  for (const auto& [tag, id] : keys) compareKey(tag, id, false);
  std::vector<std::pair<CollectionTag, SInt32>> sorted = keys;
  std::sort(sorted.begin(), sorted.end());
  for (const auto& [tag, id] : sorted) compareKey(tag, id, false);
  for (const auto& [tag, id] : keys) {
    compareKey(tag, SInt32(UInt32(id) + 1), false);
    compareKey(tag, SInt32(UInt32(id) - 1), false);
    compareKey(tag + 1, id, false);
  }
  for (auto key = keys.rbegin(); key != keys.rend(); ++key)
    compareKey(key->first, key->second, true);
  compare("count", Number(CountCollectionItems(probed)), Number(count));
  for (SInt32 position = 0; position <= count + 1; ++position)
    compare("position " + Number(position), PositionAnswer(probed, position),
            PositionAnswer(reference, position));
  return difference;
}

}  // namespace collectionanswers
