#pragma once
// A set of collection keys that may answer "perhaps" but never wrongly "no":
// each key sets six bits of one 64-byte block, so that adding or asking costs
// one cache line, and the whole filter of a large block stays far smaller than
// a keyed index (about six bytes a key). A key none of whose bits were missing
// when it was added may have come before; one with a bit clear never did.

#include <cstddef>
#include <vector>

#include "carbon/MacTypes.h"

class CollectionKeyFilter {
 public:
  // Empties the filter and sizes it for `keys` keys.
  void Reset(std::size_t keys);
  // Frees the filter, which then answers "perhaps" to every key.
  void Release();

  // Adds the key; false when it may have been added before.
  bool Add(UInt64 key);
  // False only when the key was never added.
  bool MayHold(UInt64 key) const;

 private:
  static constexpr unsigned kBitsPerKey = 6;
  static constexpr std::size_t kWordsPerBlock = 8;  // 512 bits, one cache line

  // Which block, and the bit of each of its words to test, for a key.
  struct Probe {
    std::size_t block;
    UInt64 bits[kWordsPerBlock];
  };
  Probe ProbeOf(UInt64 key) const;

  std::vector<UInt64> words_;
};
