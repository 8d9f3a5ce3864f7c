#pragma once
// The option registry: for every key id, the ids of its options in registration order.

#include <map>
#include <memory>
#include <vector>

class KVCache;

class KeyForest {
 public:
  KeyForest() = default;
  KeyForest(const KeyForest&) = delete;
  KeyForest& operator=(const KeyForest&) = delete;
  virtual ~KeyForest();

  // Duplicates are kept: an option registered twice is listed twice.
  void insert(long key, long option);
  // The key's options, or null when none was registered.
  const std::vector<long>* GetItems(long key) const;
  // Fills *out (created when null, else cleared) with every pair, keys ascending.
  void GetKeys(KVCache** out) const;
  void clear();

 private:
  std::map<long, std::unique_ptr<std::vector<long>>> m_options;
};
