#include "security/PBKDF2KeyCache.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>

#include <algorithm>
#include <climits>
#include <utility>

namespace {

bool SameBytes(const std::vector<uint8_t>& held, const uint8_t* bytes, size_t length) {
  return held.size() == length && std::equal(held.begin(), held.end(), bytes);
}

std::vector<uint8_t> CopyOf(const uint8_t* bytes, size_t length) {
  return length ? std::vector<uint8_t>(bytes, bytes + length) : std::vector<uint8_t>();
}

bool FitsInt(size_t value) { return value <= size_t(INT_MAX); }

}  // namespace

PBKDF2KeyCache::~PBKDF2KeyCache() {
  for (Entry& entry : entries_) Wipe(entry);
}

bool PBKDF2KeyCache::Derive(const uint8_t* passphrase, size_t passphraseLength, const uint8_t* salt,
                            size_t saltLength, uint32_t iterations, uint8_t* key,
                            size_t keyLength) {
  if (!FitsInt(passphraseLength) || !FitsInt(saltLength) || !FitsInt(iterations) ||
      !FitsInt(keyLength))
    return false;
  std::lock_guard<std::mutex> lock(mutex_);
  const Entry* known =
      Recall(passphrase, passphraseLength, salt, saltLength, iterations, keyLength);
  if (!known) {
    Entry entry{CopyOf(passphrase, passphraseLength), CopyOf(salt, saltLength), iterations,
                std::vector<uint8_t>(keyLength)};
    const char* password = passphraseLength ? reinterpret_cast<const char*>(passphrase) : "";
    if (PKCS5_PBKDF2_HMAC(password, int(passphraseLength), salt, int(saltLength), int(iterations),
                          EVP_sha1(), int(keyLength), entry.key.data()) != 1) {
      Wipe(entry);
      return false;
    }
    known = &Remember(std::move(entry));
  }
  std::copy(known->key.begin(), known->key.end(), key);
  return true;
}

const PBKDF2KeyCache::Entry* PBKDF2KeyCache::Recall(const uint8_t* passphrase,
                                                    size_t passphraseLength, const uint8_t* salt,
                                                    size_t saltLength, uint32_t iterations,
                                                    size_t keyLength) {
  auto found = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& entry) {
    return entry.iterations == iterations && entry.key.size() == keyLength &&
           SameBytes(entry.salt, salt, saltLength) &&
           SameBytes(entry.passphrase, passphrase, passphraseLength);
  });
  if (found == entries_.end()) return nullptr;
  std::rotate(entries_.begin(), found, found + 1);
  return &entries_.front();
}

const PBKDF2KeyCache::Entry& PBKDF2KeyCache::Remember(Entry entry) {
  if (entries_.size() == kCapacity) {
    Wipe(entries_.back());
    entries_.pop_back();
  }
  entries_.insert(entries_.begin(), std::move(entry));
  return entries_.front();
}

void PBKDF2KeyCache::Wipe(Entry& entry) {
  OPENSSL_cleanse(entry.passphrase.data(), entry.passphrase.size());
  OPENSSL_cleanse(entry.key.data(), entry.key.size());
}
