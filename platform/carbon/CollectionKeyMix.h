#pragma once
// The final mix of a well-known 64-bit hash, for the collection's index and
// its key filter: every bit of a tag and id reaches every bit of the result.

#include "carbon/MacTypes.h"

inline UInt64 MixCollectionKey(UInt64 key) {
  key ^= key >> 33;
  key *= 0xff51afd7ed558ccdULL;
  key ^= key >> 33;
  key *= 0xc4ceb9fe1a85ec53ULL;
  key ^= key >> 33;
  return key;
}
