#include <gtest/gtest.h>

#include "security/TestBytes.h"
#include "security/Twofish.h"

namespace {

std::string EncryptHex(int keyBits, const char* keyHex, const std::string& plainHex) {
  keyInstance key;
  cipherInstance cipher;
  EXPECT_EQ(makeKey(&key, DIR_ENCRYPT, keyBits, keyHex), TRUE);
  EXPECT_EQ(cipherInit(&cipher, MODE_ECB, nullptr), TRUE);
  const Bytes plain = FromHex(plainHex);
  Bytes out(16);
  EXPECT_EQ(blockEncrypt(&cipher, &key, plain.data(), 128, out.data()), 128);
  return ToHex(out);
}

TEST(TwofishTest, PublishedVectorsForEveryKeyLength) {
  const std::string zero(64, '0');
  EXPECT_EQ(EncryptHex(128, zero.c_str(), zero.substr(0, 32)), "9f589f5cf6122c32b6bfec2f2ae8c35a");
  EXPECT_EQ(EncryptHex(192, zero.c_str(), zero.substr(0, 32)), "efa71f788965bd4453f860178fc19101");
  EXPECT_EQ(EncryptHex(256, zero.c_str(), zero.substr(0, 32)), "57ff739d4dc92c1bd7fc01700cc8216f");
  // Entries 2 and 3 of the iterated tables, where each key and plaintext come from the
  // results before.
  EXPECT_EQ(EncryptHex(128, zero.c_str(), "9f589f5cf6122c32b6bfec2f2ae8c35a"),
            "d491db16e7b1c39e86cb086b789f5419");
  EXPECT_EQ(EncryptHex(128, "9F589F5CF6122C32B6BFEC2F2AE8C35A", "d491db16e7b1c39e86cb086b789f5419"),
            "019f9809de1711858faac3a3ba20fbc3");
  EXPECT_EQ(EncryptHex(192, zero.c_str(), "efa71f788965bd4453f860178fc19101"),
            "88b2b2706b105e36b446bb6d731a1e88");
  EXPECT_EQ(EncryptHex(256, zero.c_str(), "57ff739d4dc92c1bd7fc01700cc8216f"),
            "d43bb7556ea32e46f2a282b7d45b4e0d");
  EXPECT_EQ(EncryptHex(192, "0123456789ABCDEFFEDCBA98765432100011223344556677", zero.substr(0, 32)),
            "cfd1d2e5a9be9cdf501f13b892bd2248");
  EXPECT_EQ(EncryptHex(256, "0123456789abcdeffedcba987654321000112233445566778899aabbccddeeff",
                       zero.substr(0, 32)),
            "37527be0052334b89f0cfccae87cfa20");
}

TEST(TwofishTest, InterfaceRefusesBadArgumentsAndUnpreparedInstances) {
  keyInstance key;
  cipherInstance cipher;
  EXPECT_EQ(cipherInit(&cipher, 2, nullptr), BAD_CIPHER_MODE);
  EXPECT_EQ(cipherInit(nullptr, MODE_ECB, nullptr), BAD_PARAMS);
  EXPECT_EQ(makeKey(nullptr, DIR_ENCRYPT, 256, nullptr), BAD_PARAMS);
  EXPECT_EQ(makeKey(&key, 2, 256, nullptr), BAD_KEY_DIR);
  EXPECT_EQ(makeKey(&key, DIR_ENCRYPT, 100, nullptr), BAD_KEY_MAT);
  EXPECT_EQ(makeKey(&key, DIR_ENCRYPT, 128, "0123"), BAD_KEY_MAT);  // too short
  EXPECT_EQ(makeKey(&key, DIR_ENCRYPT, 128, "0123456789abcdefXX23456789abcdef"), BAD_KEY_MAT);

  const Bytes block(32, 1);
  Bytes out(32);
  ASSERT_EQ(makeKey(&key, DIR_ENCRYPT, 256, nullptr), TRUE);
  ASSERT_EQ(cipherInit(&cipher, MODE_ECB, nullptr), TRUE);
  EXPECT_EQ(blockEncrypt(&cipher, &key, block.data(), 256, out.data()), BAD_KEY_INSTANCE);
  ASSERT_EQ(reKey(&key), TRUE);
  EXPECT_EQ(blockEncrypt(&cipher, &key, block.data(), 100, out.data()), BAD_INPUT_LEN);
  EXPECT_EQ(blockDecrypt(nullptr, &key, block.data(), 128, out.data()), BAD_PARAMS);
  EXPECT_EQ(blockEncrypt(&cipher, &key, block.data(), 256, out.data()), 256);
}

TEST(TwofishTest, RoutineDecryptsWhatItEncryptsUnderRandomKeys) {
  std::mt19937 random(1998);
  for (int i = 0; i < 100; ++i) {
    const Bytes key = RandomBytes(random, 32);
    const Bytes plain = RandomBytes(random, 16 * (1 + random() % 8));
    Bytes cipher(plain.size());
    ASSERT_EQ(TwofishCrypt(DIR_ENCRYPT, key.data(), plain.data(), int(plain.size()), cipher.data()),
              0);
    ASSERT_NE(cipher, plain);
    // The routine's 32 key bytes are the reference key material in the same order.
    EXPECT_EQ(ToHex(cipher.data(), 16),
              EncryptHex(256, ToHex(key).c_str(), ToHex(plain.data(), 16)));
    Bytes back(plain.size());
    ASSERT_EQ(TwofishCrypt(DIR_DECRYPT, key.data(), cipher.data(), int(cipher.size()), back.data()),
              0);
    ASSERT_EQ(back, plain);
  }
  const Bytes key(32, 7);
  Bytes buffer(24, 9);
  EXPECT_EQ(TwofishCrypt(DIR_ENCRYPT, key.data(), buffer.data(), 24, buffer.data()), -1);
  EXPECT_EQ(TwofishCrypt(DIR_ENCRYPT, key.data(), buffer.data(), -16, buffer.data()), -1);
  EXPECT_EQ(buffer, Bytes(24, 9));
}

}  // namespace
