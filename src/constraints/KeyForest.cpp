#include "constraints/KeyForest.h"

#include <algorithm>

#include "constraints/KVCache.h"

KeyForest::~KeyForest() = default;

void KeyForest::insert(long key, long option) { m_options[key].push_back(option); }

const std::vector<long>* KeyForest::GetItems(long key) const {
  auto found = m_options.find(key);
  return found == m_options.end() ? nullptr : &found->second;
}

void KeyForest::GetKeys(KVCache** out) const {
  if (out == nullptr) return;
  if (*out == nullptr) {
    *out = new KVCache;
  } else {
    (*out)->clear();
  }
  std::vector<long> keys;
  keys.reserve(m_options.size());
  for (const auto& entry : m_options) keys.push_back(entry.first);
  std::sort(keys.begin(), keys.end());
  for (long key : keys) {
    for (long option : m_options.at(key)) (*out)->add(KVCache::KV(key, option));
  }
}

void KeyForest::clear() { m_options.clear(); }
