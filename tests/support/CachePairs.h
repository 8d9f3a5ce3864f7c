#pragma once
// The pairs of a key-option cache, in its order.

#include <vector>

#include "constraints/KVCache.h"

using KV = KVCache::KV;
using Pairs = std::vector<KV>;

inline Pairs PairsOf(const KVCache& cache) { return Pairs(cache.begin(), cache.end()); }
