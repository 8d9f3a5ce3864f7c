#pragma once
// The option registry: for every key id, the ids of its options in registration order.

#include <unordered_map>
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
  // Hashed: the dialog's every query asks for the options of keys anywhere in the model.
  // Only GetKeys shows an order, and it sorts.
  std::unordered_map<long, std::vector<long>> mOptions;
};
