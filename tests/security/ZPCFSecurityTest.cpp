#include <gtest/gtest.h>

#include <string>

#include "cf/CFRef.h"
#include "security/ZPCFSecurity.h"
#include "support/PlatformString.h"

namespace {

const char* const kPassword = "7A3E1C90-5B2D-4F68-9E07-C1D24B8A6F35";

TEST(ZPCFSecurityTest, Base64OnPlatformObjects) {
  const std::pair<const char*, const char*> vectors[] = {
      {"", ""}, {"f", "Zg=="}, {"foobar", "Zm9vYmFy"}};
  for (const auto& [plain, expected] : vectors) {
    CFRef<CFDataRef> data(CreateData(plain));
    CFRef<CFStringRef> encoded(ZPCFBase64CreateEncodedString(data.get()));
    EXPECT_EQ(TextOf(encoded.get()), expected);
    CFRef<CFDataRef> decoded(ZPCFBase64CreateDecodedData(encoded.get()));
    EXPECT_EQ(DataText(decoded.get()), plain);
  }
  CFRef<CFStringRef> noisy(CreateText("Zm9v\xc3\xa9 Ym\nFy"));  // a non-ASCII letter and blanks
  CFRef<CFDataRef> decoded(ZPCFBase64CreateDecodedData(noisy.get()));
  EXPECT_EQ(DataText(decoded.get()), "foobar");
  EXPECT_EQ(ZPCFBase64CreateEncodedString(nullptr), nullptr);
  EXPECT_EQ(ZPCFBase64CreateDecodedData(nullptr), nullptr);
}

TEST(ZPCFSecurityTest, EncryptionRoundTripsAnyTextIncludingEmptyAndNull) {
  CFRef<CFStringRef> password(CreateText(kPassword));
  for (const std::string plain : {"", "Mailbox 12", "exactly 16 bytes",
                                  "Gr\xc3\xbc\xc3\x9f"
                                  "e \xe6\x97\xa5"}) {
    CFRef<CFStringRef> text(CreateText(plain));
    CFRef<CFStringRef> encrypted(ZPCFCreateEncryptedString(text.get(), password.get()));
    ASSERT_TRUE(encrypted);
    // AES blocks with PKCS #7 padding: always at least one byte of padding.
    CFRef<CFDataRef> cipher(ZPCFBase64CreateDecodedData(encrypted.get()));
    EXPECT_EQ(size_t(CFDataGetLength(cipher.get())), (plain.size() / 16 + 1) * 16) << plain;
    if (!plain.empty()) {
      EXPECT_EQ(DataText(cipher.get()).find(plain), std::string::npos);
    }
    CFRef<CFStringRef> decrypted(ZPCFCreateDecryptedString(encrypted.get(), password.get()));
    EXPECT_EQ(TextOf(decrypted.get()), plain);
  }
  CFRef<CFStringRef> fromNull(ZPCFCreateEncryptedString(nullptr, password.get()));
  CFRef<CFDataRef> nullCipher(ZPCFBase64CreateDecodedData(fromNull.get()));
  EXPECT_EQ(CFDataGetLength(nullCipher.get()), 16);
  CFRef<CFStringRef> back(ZPCFCreateDecryptedString(fromNull.get(), password.get()));
  EXPECT_EQ(TextOf(back.get()), "");
}

// Stored presets hold these texts: encryption must give them byte for byte, also when
// the same password comes back after another one.
TEST(ZPCFSecurityTest, EncryptsExactlyAsStoredPresetsHoldIt) {
  CFRef<CFStringRef> password(CreateText(kPassword));
  CFRef<CFStringRef> other(CreateText("another password"));
  CFRef<CFStringRef> text(CreateText("Mailbox 12"));
  CFRef<CFStringRef> first(ZPCFCreateEncryptedString(text.get(), password.get()));
  CFRef<CFStringRef> underOther(ZPCFCreateEncryptedString(text.get(), other.get()));
  CFRef<CFStringRef> again(ZPCFCreateEncryptedString(text.get(), password.get()));
  CFRef<CFStringRef> empty(ZPCFCreateEncryptedString(nullptr, password.get()));
  EXPECT_EQ(TextOf(first.get()), "eJtSsPL0JZOgV/SBieVWAA==");
  EXPECT_EQ(TextOf(again.get()), "eJtSsPL0JZOgV/SBieVWAA==");
  EXPECT_EQ(TextOf(empty.get()), "tEQ1h6SLX3ifbzFA1EjuLQ==");
  EXPECT_NE(TextOf(underOther.get()), TextOf(first.get()));
}

TEST(ZPCFSecurityTest, DecryptionFailsOnWrongPasswordOrDamagedText) {
  CFRef<CFStringRef> password(CreateText(kPassword));
  CFRef<CFStringRef> other(CreateText("another password"));
  CFRef<CFStringRef> text(CreateText("confidential"));
  CFRef<CFStringRef> encrypted(ZPCFCreateEncryptedString(text.get(), password.get()));
  EXPECT_EQ(ZPCFCreateDecryptedString(encrypted.get(), other.get()), nullptr);
  CFRef<CFStringRef> truncated(CreateText("AAAA"));  // three bytes: not a whole block
  EXPECT_EQ(ZPCFCreateDecryptedString(truncated.get(), password.get()), nullptr);
  EXPECT_EQ(ZPCFCreateDecryptedString(nullptr, password.get()), nullptr);
}

}  // namespace
