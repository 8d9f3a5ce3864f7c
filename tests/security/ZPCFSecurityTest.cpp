#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "security/ZPCFSecurity.h"

namespace {

// Owns one platform object for the length of a test.
struct Owned {
  explicit Owned(CFTypeRef object) : object(object) {}
  ~Owned() {
    if (object) CFRelease(object);
  }
  CFTypeRef object;
};

CFStringRef MakeString(const std::string& text) {
  return CFStringCreateWithCString(kCFAllocatorDefault, text.c_str(), kCFStringEncodingUTF8);
}

std::string Text(CFStringRef string) {
  char buffer[512];
  if (!string || !CFStringGetCString(string, buffer, sizeof buffer, kCFStringEncodingUTF8))
    return "<none>";
  return buffer;
}

std::string Bytes(CFDataRef data) {
  if (!data) return "<none>";
  return std::string(reinterpret_cast<const char*>(CFDataGetBytePtr(data)),
                     size_t(CFDataGetLength(data)));
}

const char* const kPassword = "7A3E1C90-5B2D-4F68-9E07-C1D24B8A6F35";

TEST(ZPCFSecurityTest, Base64OnPlatformObjects) {
  const std::pair<const char*, const char*> vectors[] = {
      {"", ""}, {"f", "Zg=="}, {"foobar", "Zm9vYmFy"}};
  for (const auto& [plain, expected] : vectors) {
    CFDataRef data = CFDataCreate(kCFAllocatorDefault, reinterpret_cast<const UInt8*>(plain),
                                  CFIndex(std::strlen(plain)));
    Owned dataOwner(data);
    CFStringRef encoded = ZPCFBase64CreateEncodedString(data);
    Owned encodedOwner(encoded);
    EXPECT_EQ(Text(encoded), expected);
    CFDataRef decoded = ZPCFBase64CreateDecodedData(encoded);
    Owned decodedOwner(decoded);
    EXPECT_EQ(Bytes(decoded), plain);
  }
  CFStringRef noisy = MakeString("Zm9v\xc3\xa9 Ym\nFy");  // a non-ASCII letter and blanks
  Owned noisyOwner(noisy);
  CFDataRef decoded = ZPCFBase64CreateDecodedData(noisy);
  Owned decodedOwner(decoded);
  EXPECT_EQ(Bytes(decoded), "foobar");
  EXPECT_EQ(ZPCFBase64CreateEncodedString(nullptr), nullptr);
  EXPECT_EQ(ZPCFBase64CreateDecodedData(nullptr), nullptr);
}

TEST(ZPCFSecurityTest, EncryptionRoundTripsAnyTextIncludingEmptyAndNull) {
  CFStringRef password = MakeString(kPassword);
  Owned passwordOwner(password);
  for (const std::string plain : {"", "Mailbox 12", "exactly 16 bytes",
                                  "Gr\xc3\xbc\xc3\x9f"
                                  "e \xe6\x97\xa5"}) {
    CFStringRef text = MakeString(plain);
    Owned textOwner(text);
    CFStringRef encrypted = ZPCFCreateEncryptedString(text, password);
    Owned encryptedOwner(encrypted);
    ASSERT_NE(encrypted, nullptr);
    // AES blocks with PKCS #7 padding: always at least one byte of padding.
    CFDataRef cipher = ZPCFBase64CreateDecodedData(encrypted);
    Owned cipherOwner(cipher);
    EXPECT_EQ(size_t(CFDataGetLength(cipher)), (plain.size() / 16 + 1) * 16) << plain;
    if (!plain.empty()) {
      EXPECT_EQ(Bytes(cipher).find(plain), std::string::npos);
    }
    CFStringRef decrypted = ZPCFCreateDecryptedString(encrypted, password);
    Owned decryptedOwner(decrypted);
    EXPECT_EQ(Text(decrypted), plain);
  }
  CFStringRef fromNull = ZPCFCreateEncryptedString(nullptr, password);
  Owned fromNullOwner(fromNull);
  CFDataRef nullCipher = ZPCFBase64CreateDecodedData(fromNull);
  Owned nullCipherOwner(nullCipher);
  EXPECT_EQ(CFDataGetLength(nullCipher), 16);
  CFStringRef back = ZPCFCreateDecryptedString(fromNull, password);
  Owned backOwner(back);
  EXPECT_EQ(Text(back), "");
}

// Stored presets hold these texts: encryption must give them byte for byte, also when
// the same password comes back after another one.
TEST(ZPCFSecurityTest, EncryptsExactlyAsStoredPresetsHoldIt) {
  CFStringRef password = MakeString(kPassword);
  Owned passwordOwner(password);
  CFStringRef other = MakeString("another password");
  Owned otherOwner(other);
  CFStringRef text = MakeString("Mailbox 12");
  Owned textOwner(text);
  CFStringRef first = ZPCFCreateEncryptedString(text, password);
  Owned firstOwner(first);
  CFStringRef underOther = ZPCFCreateEncryptedString(text, other);
  Owned underOtherOwner(underOther);
  CFStringRef again = ZPCFCreateEncryptedString(text, password);
  Owned againOwner(again);
  CFStringRef empty = ZPCFCreateEncryptedString(nullptr, password);
  Owned emptyOwner(empty);
  EXPECT_EQ(Text(first), "eJtSsPL0JZOgV/SBieVWAA==");
  EXPECT_EQ(Text(again), "eJtSsPL0JZOgV/SBieVWAA==");
  EXPECT_EQ(Text(empty), "tEQ1h6SLX3ifbzFA1EjuLQ==");
  EXPECT_NE(Text(underOther), Text(first));
}

TEST(ZPCFSecurityTest, DecryptionFailsOnWrongPasswordOrDamagedText) {
  CFStringRef password = MakeString(kPassword);
  Owned passwordOwner(password);
  CFStringRef other = MakeString("another password");
  Owned otherOwner(other);
  CFStringRef text = MakeString("confidential");
  Owned textOwner(text);
  CFStringRef encrypted = ZPCFCreateEncryptedString(text, password);
  Owned encryptedOwner(encrypted);
  EXPECT_EQ(ZPCFCreateDecryptedString(encrypted, other), nullptr);
  CFStringRef truncated = MakeString("AAAA");  // three bytes: not a whole block
  Owned truncatedOwner(truncated);
  EXPECT_EQ(ZPCFCreateDecryptedString(truncated, password), nullptr);
  EXPECT_EQ(ZPCFCreateDecryptedString(nullptr, password), nullptr);
}

}  // namespace
