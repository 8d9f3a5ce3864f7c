#pragma once
// A set of collection keys that may answer "perhaps" but never wrongly "no":
// each key sets six bits of one 64-byte block, so that adding or asking costs
// one cache line, and the whole filter of a large block stays far smaller than
// a keyed index (about six bytes a key). A key none of whose bits were missing
// when it was added may have come before; one with a bit clear never did.

#include <cstddef>
#include <vector>

#include "carbon/CollectionKeyMix.h"
#include "carbon/MacTypes.h"

class CollectionKeyFilter {
 public:
  // Empties the filter and sizes it for `keys` keys.
  void Reset(std::size_t keys);
  // Frees the filter, which then answers "perhaps" to every key.
  void Release();

  // Adds the key; false when it may have been added before.
  bool Add(UInt64 key) {
    if (words_.empty()) return false;
    const UInt64 hash = MixCollectionKey(key);
    UInt64* block = &words_[BlockStart(hash)];
    UInt64 positions = Spread(hash);
    bool fresh = false;
    for (unsigned bit = 0; bit < kBitsPerKey; ++bit, positions <<= kPositionBits) {
      UInt64& word = block[WordOf(positions)];
      const UInt64 mask = MaskOf(positions);
      fresh |= (word & mask) == 0;
      word |= mask;
    }
    return fresh;
  }

  // False only when the key was never added.
  bool MayHold(UInt64 key) const {
    if (words_.empty()) return true;
    const UInt64 hash = MixCollectionKey(key);
    const UInt64* block = &words_[BlockStart(hash)];
    UInt64 positions = Spread(hash);
    for (unsigned bit = 0; bit < kBitsPerKey; ++bit, positions <<= kPositionBits)
      if ((block[WordOf(positions)] & MaskOf(positions)) == 0) return false;
    return true;
  }

 private:
  static constexpr unsigned kBitsPerKey = 6;
  static constexpr std::size_t kWordsPerBlock = 8;  // 512 bits, one cache line
  static constexpr unsigned kPositionBits = 9;      // a bit of the block

  // The block comes from the hash's low bits, the bits within it from the
  // high bits of an odd multiple of it, 9 at a time.
  std::size_t BlockStart(UInt64 hash) const {
    return (std::size_t(hash) & (words_.size() / kWordsPerBlock - 1)) * kWordsPerBlock;
  }
  static UInt64 Spread(UInt64 hash) { return hash * 0x9e3779b97f4a7c15ULL; }
  static std::size_t WordOf(UInt64 positions) { return std::size_t(positions >> 61); }
  static UInt64 MaskOf(UInt64 positions) { return UInt64(1) << ((positions >> 55) & 63); }

  std::vector<UInt64> words_;
};
