#include "constraints/KVCache.h"

#include <algorithm>

#include "foundation/ZPXAssert.h"

bool KeyOptionGreater(const KVCache::KV& a, const KVCache::KV& b) {
  return b.first < a.first || (b.first == a.first && b.second < a.second);
}

void KVCache::Insert(long key, long option) {
  if (key < 0) return;
  long index = IndexOfKey(key);
  if (index == -1) {
    add(KV(key, option));
  } else {
    mPairs[index].second = option;
  }
}

void KVCache::add(const KV& kv) {
  if (mIndexed) mPositions[kv.first].push_back(PositionOf(size()));
  mPairs.push_back(kv);
}

long KVCache::GetItem(long key) const {
  long index = IndexOfKey(key);
  return index == -1 ? -1 : mPairs[index].second;
}

KVCache::KV KVCache::GetKV(long index) const {
  if (index < 0 || index >= size()) return KV(-1, -1);
  return mPairs[index];
}

long KVCache::Lookup(const KV& kv) const {
  auto found = Positions().find(kv.first);
  if (found == mPositions.end()) return -1;
  for (long position : found->second) {
    if (mPairs[IndexOf(position)].second == kv.second) return IndexOf(position);
  }
  return -1;
}

long KVCache::IndexOfKey(long key) const {
  auto found = Positions().find(key);
  return found == mPositions.end() ? -1 : IndexOf(found->second.front());
}

const std::unordered_map<long, std::vector<long>>& KVCache::Positions() const {
  if (!mIndexed) {
    for (long index = 0; index < size(); ++index) {
      mPositions[mPairs[index].first].push_back(PositionOf(index));
    }
    mIndexed = true;
  }
  return mPositions;
}

void KVCache::clear() {
  mPairs.clear();
  mPositions.clear();
  mIndexed = false;
  mPoppedFront = 0;
}

KVCache::KV KVCache::pop_front() {
  if (mPairs.empty()) return KV(0, 0);
  KV kv = mPairs.front();
  if (mIndexed) {
    std::vector<long>& positions = mPositions[kv.first];
    ZPX_ASSERT(positions.front() == PositionOf(0));
    positions.erase(positions.begin());
    if (positions.empty()) mPositions.erase(kv.first);
  }
  mPairs.pop_front();
  ++mPoppedFront;
  return kv;
}

KVCache::KV KVCache::pop_back() {
  if (mPairs.empty()) return KV(0, 0);
  KV kv = mPairs.back();
  if (mIndexed) {
    std::vector<long>& positions = mPositions[kv.first];
    ZPX_ASSERT(positions.back() == PositionOf(size() - 1));
    positions.pop_back();
    if (positions.empty()) mPositions.erase(kv.first);
  }
  mPairs.pop_back();
  return kv;
}

void KVCache::merge(const KVCache& other) {
  for (const KV& kv : other) Insert(kv.first, kv.second);
}

KVCache KVCache::operator+(const KVCache& other) const {
  KVCache sum(*this);
  for (const KV& kv : other) {
    if (kv.first >= 0) sum.add(kv);
  }
  return sum;
}

KVCache& KVCache::operator+=(const KVCache& other) {
  *this = *this + other;
  return *this;
}

bool KVCache::operator==(const KVCache& other) const {
  if (size() != other.size()) return false;
  if (std::equal(begin(), end(), other.begin())) return true;
  std::vector<KV> mine(begin(), end());
  std::vector<KV> theirs(other.begin(), other.end());
  std::sort(mine.begin(), mine.end(), KeyOptionGreater);
  std::sort(theirs.begin(), theirs.end(), KeyOptionGreater);
  return mine == theirs;
}
