#pragma once
// Ordered (key id, option id) pairs: the selections, changes, conflicts and candidate
// states that the constraint classes hand each other.

#include <deque>
#include <unordered_map>
#include <utility>
#include <vector>

class KVCache {
 public:
  using KV = std::pair<long, long>;
  using const_iterator = std::deque<KV>::const_iterator;

  KVCache() = default;
  KVCache(const KVCache&) = default;
  KVCache(KVCache&&) = default;
  KVCache& operator=(const KVCache&) = default;
  KVCache& operator=(KVCache&&) = default;
  virtual ~KVCache() = default;

  // Replaces the option of the key's first pair, or appends; negative keys are ignored.
  void Insert(long key, long option);
  void add(const KV& kv);

  long GetItem(long key) const;
  // (-1, -1) for an index outside the list.
  KV GetKV(long index) const;
  long Lookup(const KV& kv) const;
  // Index of the key's first pair, or -1: tells a held option -1 from an absent key.
  long IndexOfKey(long key) const;

  long size() const { return static_cast<long>(mPairs.size()); }
  bool empty() const { return mPairs.empty(); }
  void clear();
  KV pop_front();
  KV pop_back();

  void merge(const KVCache& other);
  KVCache operator+(const KVCache& other) const;
  KVCache& operator+=(const KVCache& other);
  // Order-insensitive; duplicates count.
  bool operator==(const KVCache& other) const;
  bool operator!=(const KVCache& other) const { return !(*this == other); }

  const_iterator begin() const { return mPairs.begin(); }
  const_iterator end() const { return mPairs.end(); }

 private:
  long PositionOf(long index) const { return mPoppedFront + index; }
  long IndexOf(long position) const { return position - mPoppedFront; }

  const std::unordered_map<long, std::vector<long>>& Positions() const;

  std::deque<KV> mPairs;
  // Every query the dialog makes looks pairs up in the whole selection list, so each
  // key's pairs are indexed. The index is built at the first look-up by key and kept up
  // to date from then on; lists that are only filled and walked never pay for it.
  // Positions count from the first pair ever held, which lets pop_front drop one entry
  // instead of renumbering the rest.
  mutable std::unordered_map<long, std::vector<long>> mPositions;
  mutable bool mIndexed = false;
  long mPoppedFront = 0;
};

// Strict greater-than on (key, option).
bool KeyOptionGreater(const KVCache::KV& a, const KVCache::KV& b);

// What a constraint test reports.
struct _KVErrorSet {
  KVCache conflicts;     // selected pairs that the tested change excludes
  KVCache alternatives;  // other options of the conflicting keys that the change allows
};
