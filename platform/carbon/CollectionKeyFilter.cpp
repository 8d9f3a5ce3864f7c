#include "carbon/CollectionKeyFilter.h"

namespace {

// Bits of filter per key: six in a block at this load make "perhaps" for an
// absent key about one chance in a hundred thousand.
constexpr std::size_t kBitsOfFilterPerKey = 48;

}  // namespace

void CollectionKeyFilter::Reset(std::size_t keys) {
  std::size_t blocks = 1;
  while (blocks * kWordsPerBlock * 64 < keys * kBitsOfFilterPerKey) blocks *= 2;
  words_.assign(blocks * kWordsPerBlock, 0);
}

void CollectionKeyFilter::Release() {
  words_.clear();
  words_.shrink_to_fit();
}
