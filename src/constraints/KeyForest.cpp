#include "constraints/KeyForest.h"

#include "constraints/KVCache.h"

KeyForest::~KeyForest() = default;

void KeyForest::insert(long key, long option) {
  std::unique_ptr<std::vector<long>>& options = m_options[key];
  if (!options) options = std::make_unique<std::vector<long>>();
  options->push_back(option);
}

const std::vector<long>* KeyForest::GetItems(long key) const {
  auto found = m_options.find(key);
  return found == m_options.end() ? nullptr : found->second.get();
}

void KeyForest::GetKeys(KVCache** out) const {
  if (out == nullptr) return;
  if (*out == nullptr) {
    *out = new KVCache;
  } else {
    (*out)->clear();
  }
  for (const auto& [key, options] : m_options) {
    for (long option : *options) (*out)->add(KVCache::KV(key, option));
  }
}

void KeyForest::clear() { m_options.clear(); }
