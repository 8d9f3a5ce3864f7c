#include "constraints/KeyForest.h"

#include <algorithm>

#include "constraints/KVCache.h"

KeyForest::~KeyForest() = default;

void KeyForest::insert(long key, long option) { mOptions[key].push_back(option); }

const std::vector<long>* KeyForest::GetItems(long key) const {
  auto found = mOptions.find(key);
  return found == mOptions.end() ? nullptr : &found->second;
}

void KeyForest::GetKeys(KVCache** out) const {
  if (out == nullptr) return;
  if (*out == nullptr) {
    *out = new KVCache;
  } else {
    (*out)->clear();
  }
  std::vector<long> keys;
  keys.reserve(mOptions.size());
  for (const auto& entry : mOptions) keys.push_back(entry.first);
  std::sort(keys.begin(), keys.end());
  for (long key : keys) {
    for (long option : mOptions.at(key)) (*out)->add(KVCache::KV(key, option));
  }
}

void KeyForest::clear() { mOptions.clear(); }
