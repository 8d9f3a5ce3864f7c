#pragma once
// PBKDF2 with HMAC-SHA1 that remembers its results: a key is derived once for each
// distinct passphrase, salt, iteration count and key length, and asked for again it
// comes from memory instead of from all those iterations once more. Callers that
// encrypt many values under one fixed password ask for the same key over and over.
// Only the keys asked for most recently are kept; a key that is dropped, and every
// key when the cache goes, is wiped together with its passphrase. Safe to use from
// several threads at once; a key is derived while the cache is held, so threads that
// ask for the same new key together derive it only once.

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <vector>

class PBKDF2KeyCache {
 public:
  static constexpr size_t kCapacity = 8;

  PBKDF2KeyCache() = default;
  PBKDF2KeyCache(const PBKDF2KeyCache&) = delete;
  PBKDF2KeyCache& operator=(const PBKDF2KeyCache&) = delete;
  ~PBKDF2KeyCache();

  // Fills key[0, keyLength) with the key of the inputs; false, with key untouched,
  // when the derivation fails. Null pointers are taken only with a zero length.
  bool Derive(const uint8_t* passphrase, size_t passphraseLength, const uint8_t* salt,
              size_t saltLength, uint32_t iterations, uint8_t* key, size_t keyLength);

 private:
  struct Entry {
    std::vector<uint8_t> passphrase;
    std::vector<uint8_t> salt;
    uint32_t iterations;
    std::vector<uint8_t> key;
  };

  // The entry of exactly these inputs, moved to the front; null when there is none.
  const Entry* Recall(const uint8_t* passphrase, size_t passphraseLength, const uint8_t* salt,
                      size_t saltLength, uint32_t iterations, size_t keyLength);
  // Puts the entry at the front, wiping the one asked for longest ago when full.
  const Entry& Remember(Entry entry);
  static void Wipe(Entry& entry);

  std::mutex mutex_;
  std::vector<Entry> entries_;  // the most recently asked for first; at most kCapacity
};
