#include <gtest/gtest.h>
#include <openssl/evp.h>  // not sha.h: its SHA1 function would hide the class

#include "security/SHA1.h"
#include "security/TestBytes.h"

namespace {

std::string DigestHex(SHA1& sha) {
  uint32_t words[5];
  if (!sha.Result(words)) return "refused";
  unsigned char bytes[20];
  for (int i = 0; i < 5; ++i)
    for (int b = 0; b < 4; ++b)
      bytes[4 * i + b] = static_cast<unsigned char>(words[i] >> (24 - 8 * b));
  return ToHex(bytes, 20);
}

TEST(SHA1Test, KnownAnswersThroughEveryInputForm) {
  SHA1 sha;
  sha << "abc";
  EXPECT_EQ(DigestHex(sha), "a9993e364706816aba3e25717850c26c9cd0d89d");
  EXPECT_EQ(DigestHex(sha), "a9993e364706816aba3e25717850c26c9cd0d89d");  // asked again

  sha.Reset();
  sha << 'a' << static_cast<unsigned char>('b');
  sha.Input('c');
  EXPECT_EQ(DigestHex(sha), "a9993e364706816aba3e25717850c26c9cd0d89d");

  sha.Reset();
  const char* twoBlocks = "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq";
  sha << reinterpret_cast<const unsigned char*>(twoBlocks);
  EXPECT_EQ(DigestHex(sha), "84983e441c3bd26ebaae4aa1f95129e5e54670f1");

  sha.Reset();
  EXPECT_EQ(DigestHex(sha), "da39a3ee5e6b4b0d3255bfef95601890afd80709");
}

TEST(SHA1Test, InputAfterResultIsRefusedUntilReset) {
  SHA1 sha;
  sha << "abc";
  uint32_t words[5];
  ASSERT_TRUE(sha.Result(words));
  sha << "d";
  EXPECT_FALSE(sha.Result(words));
  sha.Reset();
  sha << "abc";
  EXPECT_EQ(DigestHex(sha), "a9993e364706816aba3e25717850c26c9cd0d89d");
}

TEST(SHA1Test, MatchesReferenceOverRandomMessagesFedInRandomPieces) {
  std::mt19937 random(1801);
  for (int i = 0; i < 300; ++i) {
    const Bytes message = RandomBytes(random, random() % 600);
    unsigned char expected[20];
    EVP_Digest(message.data(), message.size(), expected, nullptr, EVP_sha1(), nullptr);
    SHA1 sha;
    for (size_t offset = 0; offset < message.size();) {
      const size_t piece = std::min<size_t>(message.size() - offset, random() % 130);
      sha.Input(message.data() + offset, piece);
      offset += piece;
    }
    ASSERT_EQ(DigestHex(sha), ToHex(expected, 20)) << message.size();
  }
}

}  // namespace
