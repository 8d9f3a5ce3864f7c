#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "security/TestBytes.h"
#include "security/cssm.h"

namespace {

void* TestMalloc(CSSM_SIZE size, void*) { return std::malloc(size); }
void TestFree(void* block, void*) { std::free(block); }
const CSSM_API_MEMORY_FUNCS kMemory = {TestMalloc, TestFree, nullptr, nullptr, nullptr};
const CSSM_VERSION kVersion = {2, 0};

CSSM_DATA Data(const std::string& s) {
  return CSSM_DATA{s.size(), reinterpret_cast<uint8*>(const_cast<char*>(s.data()))};
}

class CSSMTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CSSM_PVC_MODE pvc = CSSM_PVC_NONE;
    ASSERT_EQ(CSSM_Init(&kVersion, CSSM_PRIVILEGE_SCOPE_NONE, &gGuidStandardCSP,
                        CSSM_KEY_HIERARCHY_NONE, &pvc, nullptr),
              CSSM_OK);
    ASSERT_EQ(CSSM_ModuleLoad(&gGuidStandardCSP, CSSM_KEY_HIERARCHY_NONE, nullptr, nullptr),
              CSSM_OK);
    ASSERT_EQ(CSSM_ModuleAttach(&gGuidStandardCSP, &kVersion, &kMemory, 0, CSSM_SERVICE_CSP, 0,
                                CSSM_KEY_HIERARCHY_NONE, nullptr, 0, nullptr, &csp_),
              CSSM_OK);
  }
  void TearDown() override { EXPECT_EQ(CSSM_ModuleDetach(csp_), CSSM_OK); }

  std::string Derive(const std::string& password, const std::string& salt, uint32 iterations) {
    CSSM_DATA saltData = Data(salt);
    CSSM_CC_HANDLE context = 0;
    EXPECT_EQ(
        CSSM_CSP_CreateDeriveKeyContext(csp_, CSSM_ALGID_PKCS5_PBKDF2, CSSM_ALGID_AES, 128, nullptr,
                                        nullptr, iterations, &saltData, nullptr, &context),
        CSSM_OK);
    CSSM_PKCS5_PBKDF2_PARAMS params = {Data(password), CSSM_PKCS5_PBKDF2_PRF_HMAC_SHA1};
    CSSM_DATA param = {sizeof params, reinterpret_cast<uint8*>(&params)};
    CSSM_KEY key{};
    EXPECT_EQ(CSSM_DeriveKey(context, &param, CSSM_KEYUSE_ANY, CSSM_KEYATTR_RETURN_DATA, nullptr,
                             nullptr, &key),
              CSSM_OK);
    EXPECT_EQ(CSSM_DeleteContext(context), CSSM_OK);
    EXPECT_EQ(key.KeyHeader.LogicalKeySizeInBits, 128u);
    const std::string hex = ToHex(key.KeyData.Data, key.KeyData.Length);
    CSSM_FreeKey(csp_, nullptr, &key, CSSM_FALSE);
    return hex;
  }

  struct Output {
    CSSM_RETURN result;
    std::string bulk;       // all but the final block
    std::string remainder;  // the final block
  };

  // AES-CBC under a zero vector; the key's length chooses AES-128, -192 or -256.
  Output Crypt(bool encrypt, std::vector<uint8> keyBytes, const std::string& in) {
    uint8 zero[16] = {};
    CSSM_DATA iv = {16, zero};
    CSSM_KEY key{};
    key.KeyHeader.AlgorithmId = CSSM_ALGID_AES;
    key.KeyData = CSSM_DATA{keyBytes.size(), keyBytes.data()};
    CSSM_CC_HANDLE context = 0;
    EXPECT_EQ(CSSM_CSP_CreateSymmetricContext(csp_, CSSM_ALGID_AES, CSSM_ALGMODE_CBCPadIV8, nullptr,
                                              &key, &iv, CSSM_PADDING_PKCS7, nullptr, &context),
              CSSM_OK);
    CSSM_DATA input = Data(in);
    CSSM_DATA out{};
    CSSM_DATA rem{};
    CSSM_SIZE done = 0;
    Output output;
    output.result = encrypt ? CSSM_EncryptData(context, &input, 1, &out, 1, &done, &rem)
                            : CSSM_DecryptData(context, &input, 1, &out, 1, &done, &rem);
    CSSM_DeleteContext(context);
    if (output.result != CSSM_OK) return output;
    EXPECT_EQ(done, out.Length + rem.Length);
    output.bulk.assign(reinterpret_cast<char*>(out.Data), out.Length);
    output.remainder.assign(reinterpret_cast<char*>(rem.Data), rem.Length);
    std::free(out.Data);
    std::free(rem.Data);
    return output;
  }

  CSSM_CSP_HANDLE csp_ = 0;
};

std::vector<uint8> CountingKey(size_t length = 16) {
  std::vector<uint8> key(length);
  for (size_t i = 0; i < length; ++i) key[i] = uint8(i);
  return key;
}

TEST_F(CSSMTest, DerivesPBKDF2WithHMACSHA1) {
  EXPECT_EQ(Derive("password", "salt", 2), "ea6c014dc72d6f8ccd1ed92ace1d41f0");
  EXPECT_EQ(Derive("password", "salt", 4096), "4b007901b765489abead49d926f721d0");
}

TEST_F(CSSMTest, EncryptsAESCBCAndHandsTheFinalBlockBackSeparately) {
  const std::string block("\x00\x11\x22\x33\x44\x55\x66\x77\x88\x99\xaa\xbb\xcc\xdd\xee\xff", 16);
  // The standard's examples for its three key lengths.
  const std::pair<size_t, const char*> examples[] = {{16, "69c4e0d86a7b0430d8cdb78070b4c55a"},
                                                     {24, "dda97ca4864cdfe06eaf70a0ec0d7191"},
                                                     {32, "8ea2b7ca516745bfeafc49904b496089"}};
  for (const auto& [keyLength, expected] : examples) {
    const Output cipher = Crypt(true, CountingKey(keyLength), block);
    ASSERT_EQ(cipher.result, CSSM_OK);
    EXPECT_EQ(ToHex(Bytes(cipher.bulk.begin(), cipher.bulk.end())), expected);
    EXPECT_EQ(cipher.remainder.size(), 16u);  // the padding block

    const Output plain = Crypt(false, CountingKey(keyLength), cipher.bulk + cipher.remainder);
    ASSERT_EQ(plain.result, CSSM_OK);
    EXPECT_EQ(plain.bulk + plain.remainder, block);
  }

  const Output empty = Crypt(true, CountingKey(), "");
  EXPECT_EQ(empty.bulk.size() + empty.remainder.size(), 16u);
}

TEST_F(CSSMTest, RefusesDamagedCiphertextAndUnsupportedContexts) {
  EXPECT_EQ(Crypt(false, CountingKey(), std::string(20, 'x')).result, CSSMERR_CSP_INVALID_DATA);
  EXPECT_EQ(Crypt(false, CountingKey(), "").result, CSSMERR_CSP_INVALID_DATA);

  uint8 zero[16] = {};
  CSSM_DATA iv = {16, zero};
  CSSM_DATA shortIV = {8, zero};
  std::vector<uint8> keyBytes = CountingKey();
  CSSM_KEY key{};
  key.KeyData = CSSM_DATA{keyBytes.size(), keyBytes.data()};
  CSSM_KEY oddKey = key;
  oddKey.KeyData.Length = 10;
  CSSM_CC_HANDLE context = 0;
  EXPECT_EQ(CSSM_CSP_CreateSymmetricContext(csp_, 0x1234, CSSM_ALGMODE_CBCPadIV8, nullptr, &key,
                                            &iv, CSSM_PADDING_PKCS7, nullptr, &context),
            CSSMERR_CSP_INVALID_ALGORITHM);
  EXPECT_EQ(CSSM_CSP_CreateSymmetricContext(csp_, CSSM_ALGID_AES, CSSM_ALGMODE_CBCPadIV8, nullptr,
                                            &oddKey, &iv, CSSM_PADDING_PKCS7, nullptr, &context),
            CSSMERR_CSP_INVALID_KEY);
  EXPECT_EQ(CSSM_CSP_CreateSymmetricContext(csp_, CSSM_ALGID_AES, CSSM_ALGMODE_CBCPadIV8, nullptr,
                                            &key, &shortIV, CSSM_PADDING_PKCS7, nullptr, &context),
            CSSMERR_CSP_INVALID_ATTR_INIT_VECTOR);
  CSSM_DATA in = {0, nullptr};
  CSSM_DATA out{};
  CSSM_DATA rem{};
  CSSM_SIZE done = 0;
  EXPECT_EQ(CSSM_EncryptData(987654, &in, 1, &out, 1, &done, &rem),
            CSSMERR_CSP_INVALID_CONTEXT_HANDLE);
  EXPECT_EQ(CSSM_DeleteContext(987654), CSSMERR_CSP_INVALID_CONTEXT_HANDLE);
  CSSM_GUID other = gGuidStandardCSP;
  other.Data1 ^= 1;
  EXPECT_EQ(CSSM_ModuleLoad(&other, CSSM_KEY_HIERARCHY_NONE, nullptr, nullptr),
            CSSMERR_CSSM_INVALID_GUID);
}

}  // namespace
