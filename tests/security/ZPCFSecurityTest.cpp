#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "security/ZPCFSecurity.h"
#include "support/PlatformString.h"

namespace {

// Releases, when the test ends, every platform object it was handed.
class Releaser {
 public:
  Releaser() = default;
  Releaser(const Releaser&) = delete;
  Releaser& operator=(const Releaser&) = delete;
  ~Releaser() {
    for (CFTypeRef object : objects)
      if (object) CFRelease(object);
  }
  template <class Ref>
  Ref operator()(Ref object) {
    objects.push_back(object);
    return object;
  }

 private:
  std::vector<CFTypeRef> objects;
};

std::string Bytes(CFDataRef data) {
  if (!data) return "<none>";
  return std::string(reinterpret_cast<const char*>(CFDataGetBytePtr(data)),
                     size_t(CFDataGetLength(data)));
}

const char* const kPassword = "7A3E1C90-5B2D-4F68-9E07-C1D24B8A6F35";

TEST(ZPCFSecurityTest, Base64OnPlatformObjects) {
  Releaser keep;
  const std::pair<const char*, const char*> vectors[] = {
      {"", ""}, {"f", "Zg=="}, {"foobar", "Zm9vYmFy"}};
  for (const auto& [plain, expected] : vectors) {
    CFDataRef data = keep(CFDataCreate(
        kCFAllocatorDefault, reinterpret_cast<const UInt8*>(plain), CFIndex(std::strlen(plain))));
    CFStringRef encoded = keep(ZPCFBase64CreateEncodedString(data));
    EXPECT_EQ(TextOf(encoded), expected);
    CFDataRef decoded = keep(ZPCFBase64CreateDecodedData(encoded));
    EXPECT_EQ(Bytes(decoded), plain);
  }
  CFStringRef noisy = keep(CreateString("Zm9v\xc3\xa9 Ym\nFy"));  // a non-ASCII letter and blanks
  CFDataRef decoded = keep(ZPCFBase64CreateDecodedData(noisy));
  EXPECT_EQ(Bytes(decoded), "foobar");
  EXPECT_EQ(ZPCFBase64CreateEncodedString(nullptr), nullptr);
  EXPECT_EQ(ZPCFBase64CreateDecodedData(nullptr), nullptr);
}

TEST(ZPCFSecurityTest, EncryptionRoundTripsAnyTextIncludingEmptyAndNull) {
  Releaser keep;
  CFStringRef password = keep(CreateString(kPassword));
  for (const std::string plain : {"", "Mailbox 12", "exactly 16 bytes",
                                  "Gr\xc3\xbc\xc3\x9f"
                                  "e \xe6\x97\xa5"}) {
    CFStringRef text = keep(CreateString(plain));
    CFStringRef encrypted = keep(ZPCFCreateEncryptedString(text, password));
    ASSERT_NE(encrypted, nullptr);
    // AES blocks with PKCS #7 padding: always at least one byte of padding.
    CFDataRef cipher = keep(ZPCFBase64CreateDecodedData(encrypted));
    EXPECT_EQ(size_t(CFDataGetLength(cipher)), (plain.size() / 16 + 1) * 16) << plain;
    if (!plain.empty()) {
      EXPECT_EQ(Bytes(cipher).find(plain), std::string::npos);
    }
    CFStringRef decrypted = keep(ZPCFCreateDecryptedString(encrypted, password));
    EXPECT_EQ(TextOf(decrypted), plain);
  }
  CFStringRef fromNull = keep(ZPCFCreateEncryptedString(nullptr, password));
  CFDataRef nullCipher = keep(ZPCFBase64CreateDecodedData(fromNull));
  EXPECT_EQ(CFDataGetLength(nullCipher), 16);
  CFStringRef back = keep(ZPCFCreateDecryptedString(fromNull, password));
  EXPECT_EQ(TextOf(back), "");
}

// Stored presets hold these texts: encryption must give them byte for byte, also when
// the same password comes back after another one.
TEST(ZPCFSecurityTest, EncryptsExactlyAsStoredPresetsHoldIt) {
  Releaser keep;
  CFStringRef password = keep(CreateString(kPassword));
  CFStringRef other = keep(CreateString("another password"));
  CFStringRef text = keep(CreateString("Mailbox 12"));
  CFStringRef first = keep(ZPCFCreateEncryptedString(text, password));
  CFStringRef underOther = keep(ZPCFCreateEncryptedString(text, other));
  CFStringRef again = keep(ZPCFCreateEncryptedString(text, password));
  CFStringRef empty = keep(ZPCFCreateEncryptedString(nullptr, password));
  EXPECT_EQ(TextOf(first), "eJtSsPL0JZOgV/SBieVWAA==");
  EXPECT_EQ(TextOf(again), "eJtSsPL0JZOgV/SBieVWAA==");
  EXPECT_EQ(TextOf(empty), "tEQ1h6SLX3ifbzFA1EjuLQ==");
  EXPECT_NE(TextOf(underOther), TextOf(first));
}

TEST(ZPCFSecurityTest, DecryptionFailsOnWrongPasswordOrDamagedText) {
  Releaser keep;
  CFStringRef password = keep(CreateString(kPassword));
  CFStringRef other = keep(CreateString("another password"));
  CFStringRef text = keep(CreateString("confidential"));
  CFStringRef encrypted = keep(ZPCFCreateEncryptedString(text, password));
  EXPECT_EQ(ZPCFCreateDecryptedString(encrypted, other), nullptr);
  CFStringRef truncated = keep(CreateString("AAAA"));  // three bytes: not a whole block
  EXPECT_EQ(ZPCFCreateDecryptedString(truncated, password), nullptr);
  EXPECT_EQ(ZPCFCreateDecryptedString(nullptr, password), nullptr);
}

}  // namespace
