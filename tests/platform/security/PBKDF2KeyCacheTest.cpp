#include <gtest/gtest.h>
#include <openssl/evp.h>

#include <string>
#include <vector>

#include "security/PBKDF2KeyCache.h"
#include "security/TestBytes.h"

namespace {

struct Inputs {
  std::string passphrase;
  std::string salt;
  uint32_t iterations;
  size_t keyLength;
};

const uint8_t* BytesOf(const std::string& text) {
  return reinterpret_cast<const uint8_t*>(text.data());
}

constexpr unsigned char kGuard = 0xEE;

// The key's hex digits, "failed" when the cache refuses; the byte after the key must
// stay as it was.
std::string FromCache(PBKDF2KeyCache& cache, const Inputs& in) {
  Bytes key(in.keyLength + 1, kGuard);
  if (!cache.Derive(BytesOf(in.passphrase), in.passphrase.size(), BytesOf(in.salt), in.salt.size(),
                    in.iterations, key.data(), in.keyLength))
    return "failed";
  EXPECT_EQ(key.back(), kGuard) << "written past the key";
  key.pop_back();
  return ToHex(key);
}

// The key straight from the library, remembered nowhere.
std::string Reference(const Inputs& in) {
  Bytes key(in.keyLength);
  if (PKCS5_PBKDF2_HMAC(in.passphrase.data(), int(in.passphrase.size()), BytesOf(in.salt),
                        int(in.salt.size()), int(in.iterations), EVP_sha1(), int(key.size()),
                        key.data()) != 1)
    return "failed";
  return ToHex(key);
}

std::string Describe(const Inputs& in) {
  return ToHex(BytesOf(in.passphrase), in.passphrase.size()) + " / " +
         ToHex(BytesOf(in.salt), in.salt.size()) + " / " + std::to_string(in.iterations) + " / " +
         std::to_string(in.keyLength);
}

// Every request differs from an earlier one in a single input, so a cache that
// overlooked any input would answer with the key of the earlier request. All of them
// stay remembered: the second round is answered from memory.
TEST(PBKDF2KeyCacheTest, EachDistinctInputGetsItsOwnKeyEveryTime) {
  const Inputs preset{"7A3E1C90-5B2D-4F68-9E07-C1D24B8A6F35", "\x3c\x9e\x47\x11\xd2\x68\xa5\x0f",
                      1000, 16};
  const std::string nulPassphrase("pass\0word", 9);
  const std::string nulSalt("sa\0lt", 5);
  const Inputs requests[] = {
      preset,
      {"another password", preset.salt, 1000, 16},
      {preset.passphrase, "saltsalt", 1000, 16},
      {preset.passphrase, preset.salt, 999, 16},
      {preset.passphrase, preset.salt, 1000, 20},
      {nulPassphrase, nulSalt, 2, 16},
      {std::string("pass\0wore", 9), nulSalt, 2, 16},
      {nulPassphrase, std::string("sa\0lu", 5), 2, 16},
  };
  static_assert(sizeof requests / sizeof requests[0] <= PBKDF2KeyCache::kCapacity);
  PBKDF2KeyCache cache;
  for (int round = 0; round < 2; ++round) {
    for (const Inputs& in : requests)
      EXPECT_EQ(FromCache(cache, in), Reference(in)) << Describe(in);
    EXPECT_EQ(FromCache(cache, preset), "3cda41f7d896e03743e3d8bb5f616c1d");
  }
  // RFC 6070's vector with a NUL byte in both passphrase and salt.
  EXPECT_EQ(FromCache(cache, {nulPassphrase, nulSalt, 4096, 16}),
            "56fa6aa75548099dcc37d7f03425e0c3");
}

// Past its capacity the cache drops keys; asked for again they are derived again, and a
// derivation that fails is not remembered as a key.
TEST(PBKDF2KeyCacheTest, DroppedAndFailedKeysAreDerivedAgain) {
  std::vector<Inputs> requests;
  for (uint32_t iterations = 1; iterations <= 3 * PBKDF2KeyCache::kCapacity; ++iterations)
    requests.push_back({"password", "salt", iterations, 20});
  requests.push_back({"", "", 1, 20});
  PBKDF2KeyCache cache;
  for (const Inputs& in : requests) EXPECT_EQ(FromCache(cache, in), Reference(in)) << Describe(in);
  for (auto in = requests.rbegin(); in != requests.rend(); ++in)
    EXPECT_EQ(FromCache(cache, *in), Reference(*in)) << Describe(*in);
  EXPECT_EQ(FromCache(cache, requests.front()), "0c60c80f961f0e71f3a9b524af6012062fe037a6");

  const Inputs noRounds{"password", "salt", 0, 20};
  EXPECT_EQ(FromCache(cache, noRounds), "failed");
  EXPECT_EQ(FromCache(cache, noRounds), "failed");
}

}  // namespace
