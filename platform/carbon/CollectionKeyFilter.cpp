#include "carbon/CollectionKeyFilter.h"

namespace {

// The final mix of a well-known 64-bit hash: every key bit reaches every hash bit.
UInt64 Mix(UInt64 key) {
  key ^= key >> 33;
  key *= 0xff51afd7ed558ccdULL;
  key ^= key >> 33;
  key *= 0xc4ceb9fe1a85ec53ULL;
  key ^= key >> 33;
  return key;
}

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

// The block comes from the hash's low bits, the six 9-bit positions within it
// from the high bits of a second, odd multiple of it.
CollectionKeyFilter::Probe CollectionKeyFilter::ProbeOf(UInt64 key) const {
  const UInt64 hash = Mix(key);
  Probe probe{};
  probe.block = std::size_t(hash) & (words_.size() / kWordsPerBlock - 1);
  UInt64 positions = hash * 0x9e3779b97f4a7c15ULL;
  for (unsigned bit = 0; bit < kBitsPerKey; ++bit) {
    const unsigned position = unsigned(positions >> 55);
    probe.bits[position / 64] |= UInt64(1) << (position % 64);
    positions <<= 9;
  }
  return probe;
}

bool CollectionKeyFilter::Add(UInt64 key) {
  if (words_.empty()) return false;
  const Probe probe = ProbeOf(key);
  UInt64* block = &words_[probe.block * kWordsPerBlock];
  bool fresh = false;
  for (std::size_t word = 0; word < kWordsPerBlock; ++word) {
    fresh |= (block[word] & probe.bits[word]) != probe.bits[word];
    block[word] |= probe.bits[word];
  }
  return fresh;
}

bool CollectionKeyFilter::MayHold(UInt64 key) const {
  if (words_.empty()) return true;
  const Probe probe = ProbeOf(key);
  const UInt64* block = &words_[probe.block * kWordsPerBlock];
  for (std::size_t word = 0; word < kWordsPerBlock; ++word)
    if ((block[word] & probe.bits[word]) != probe.bits[word]) return false;
  return true;
}
