#include <gtest/gtest.h>
#include <openssl/evp.h>

#include <cstring>
#include <memory>

#include "security/AES256CBC.h"
#include "security/ReferenceCiphers.h"
#include "security/TestBytes.h"

namespace {

const Bytes kKey = FromHex("000102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f");
const Bytes kZeroIV(16, 0);

TEST(AES256CBCTest, KnownAnswerBlockBothWays) {
  AES256CBC aes;
  ASSERT_TRUE(aes.MakeKey(kKey.data(), kZeroIV.data()));
  Bytes block = FromHex("00112233445566778899aabbccddeeff");
  aes.EncryptBlock(block.data(), block.data());
  EXPECT_EQ(ToHex(block), "8ea2b7ca516745bfeafc49904b496089");
  aes.DecryptBlock(block.data(), block.data());
  EXPECT_EQ(ToHex(block), "00112233445566778899aabbccddeeff");
}

TEST(AES256CBCTest, RefusesWrongSizesAndLengthsWritingNothing) {
  const Bytes plain(32, 0x5a);
  Bytes out(32, 0xee);
  AES256CBC aes;
  aes.Encrypt(plain.data(), out.data(), 32);  // no key made yet
  EXPECT_FALSE(aes.MakeKey(kKey.data(), kZeroIV.data(), 16, 16));
  aes.Encrypt(plain.data(), out.data(), 32);
  aes.EncryptBlock(plain.data(), out.data());
  EXPECT_FALSE(aes.MakeKey(kKey.data(), kZeroIV.data(), 32, 24));
  aes.Decrypt(plain.data(), out.data(), 32);
  EXPECT_EQ(out, Bytes(32, 0xee));

  ASSERT_TRUE(aes.MakeKey(kKey.data(), kZeroIV.data()));
  aes.Encrypt(plain.data(), out.data(), 17);
  aes.Encrypt(plain.data(), out.data(), 0);
  EXPECT_EQ(out, Bytes(32, 0xee));
  // The refused calls did not move the chain: the next call starts from the IV.
  aes.Encrypt(plain.data(), out.data(), 32);
  EXPECT_EQ(out, ReferenceCBC(kKey, kZeroIV, plain, true));
}

TEST(AES256CBCTest, ChainCarriesOverBetweenCallsAndMatchesReference) {
  std::mt19937 random(197);
  for (int i = 0; i < 200; ++i) {
    const Bytes key = RandomBytes(random, 32);
    const Bytes iv = RandomBytes(random, 16);
    const size_t blocks = 1 + random() % 20;
    const Bytes plain = RandomBytes(random, 16 * blocks);
    const size_t split = 16 * (random() % blocks + 1);
    const Bytes expected = ReferenceCBC(key, iv, plain, true);

    AES256CBC encryptor;
    encryptor.MakeKey(key.data(), iv.data());
    Bytes cipher(plain.size());
    encryptor.Encrypt(plain.data(), cipher.data(), split);
    encryptor.Encrypt(plain.data() + split, cipher.data() + split, plain.size() - split);
    ASSERT_EQ(cipher, expected);

    AES256CBC decryptor;
    decryptor.MakeKey(key.data(), iv.data());
    decryptor.Decrypt(cipher.data(), cipher.data(), split);  // in place
    decryptor.Decrypt(cipher.data() + split, cipher.data() + split, cipher.size() - split);
    ASSERT_EQ(cipher, plain);
  }
}

TEST(AES256CBCTest, DoEncryptPadsWithTerminatorAndCountBytes) {
  struct Case {
    const char* text;
    int cipherLength;
  };
  const Case cases[] = {{"fourteen chars", 16}, {"fifteen chars!!", 32}, {"", 16}};
  for (const Case& c : cases) {
    Bytes out(64, 0xee);
    int outLength = int(out.size());
    ASSERT_TRUE(DoAES256Encrypt(kKey.data(), kZeroIV.data(), c.text, out.data(), &outLength));
    ASSERT_EQ(outLength, c.cipherLength) << c.text;
    EXPECT_EQ(Bytes(out.begin() + outLength, out.end()), Bytes(out.size() - outLength, 0));
    const Bytes plain =
        ReferenceCBC(kKey, kZeroIV, Bytes(out.begin(), out.begin() + outLength), false);
    const size_t textLength = std::strlen(c.text);
    EXPECT_EQ(std::string(plain.begin(), plain.begin() + textLength), c.text);
    const size_t n = plain.size() - textLength - 1;
    EXPECT_EQ(plain[textLength], 0);
    EXPECT_EQ(Bytes(plain.begin() + textLength + 1, plain.end()), Bytes(n, uint8_t(n - 1)));

    int decryptedLength = int(out.size());
    Bytes decrypted(out.size());
    ASSERT_TRUE(DoAES256Decrypt(kKey.data(), kZeroIV.data(), out.data(), outLength,
                                decrypted.data(), &decryptedLength));
    EXPECT_EQ(decryptedLength, outLength);
    EXPECT_EQ(Bytes(decrypted.begin(), decrypted.begin() + outLength), plain);
  }
}

TEST(AES256CBCTest, DoFunctionsStayInsideTheirBuffersWhateverTheLengths) {
  // Exactly sized heap buffers: any write past them is caught by the address checker.
  const Bytes cipher(48, 0x33);
  for (int length : {-16, 0, 15, 17, 48}) {
    std::vector<unsigned char> out(32, 0xee);
    int outLength = int(out.size());
    EXPECT_FALSE(
        DoAES256Decrypt(kKey.data(), kZeroIV.data(), cipher.data(), length, out.data(), &outLength))
        << length;
    EXPECT_EQ(outLength, 0);
    EXPECT_EQ(out, Bytes(32, 0));
  }
  std::vector<unsigned char> small(16, 0xee);
  int smallLength = int(small.size());
  EXPECT_FALSE(
      DoAES256Encrypt(kKey.data(), kZeroIV.data(), "sixteen chars!!!", small.data(), &smallLength));
  EXPECT_EQ(smallLength, 0);
  EXPECT_EQ(small, Bytes(16, 0));
}

}  // namespace
