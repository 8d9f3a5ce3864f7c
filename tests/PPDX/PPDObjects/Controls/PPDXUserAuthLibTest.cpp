#include "PPDX/PPDObjects/Controls/PPDXUserAuthLib.h"

#include <gtest/gtest.h>
#include <openssl/evp.h>
#include <unistd.h>

#include <cstring>
#include <ctime>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "security/ByteOrder.h"
#include "security/ControllerKeys.h"
#include "security/Twofish.h"
#include "support/SubstitutedAdapters.h"

namespace {

using Bytes = std::vector<unsigned char>;

const unsigned char kGUID[kUALGUIDSize] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};

// What a record's text unpacks to; "<failed>" as the user when it does not.
struct Unpacked {
  std::string user, password, domain;
  int32_t type = 0;
  Bytes guid;

  bool operator==(const Unpacked& other) const {
    return user == other.user && password == other.password && domain == other.domain &&
           type == other.type && guid == other.guid;
  }
};

Unpacked Unpack(const std::string& text) {
  char* user = reinterpret_cast<char*>(1);
  char* password = user;
  char* domain = user;
  UAL_DomainType type = UAL_DomainType(0);
  unsigned char guid[kUALGUIDSize] = {};
  if (UAL_UnpackAndDecrypt(text.c_str(), &user, &password, &domain, &type, guid) != 0) {
    // A refusal hands out nothing.
    EXPECT_EQ(user, nullptr);
    EXPECT_EQ(password, nullptr);
    EXPECT_EQ(domain, nullptr);
    return Unpacked{"<failed>", "", "", 0, {}};
  }
  Unpacked unpacked{user, password, domain, type, Bytes(guid, guid + kUALGUIDSize)};
  AUTH_freeBuffer(&user);
  AUTH_freeBuffer(&password);
  AUTH_freeBuffer(&domain);
  EXPECT_EQ(user, nullptr);
  return unpacked;
}

std::string Pack(const char* user, const char* password, const char* domain = "",
                 int32_t type = kUALDomainDirectory, const unsigned char* guid = kGUID) {
  char* out = reinterpret_cast<char*>(1);
  const int result = UAL_PackAndEncrypt(user, password, domain, UAL_DomainType(type), guid, &out);
  if (result != 0) {
    EXPECT_EQ(result, -1);
    EXPECT_EQ(out, nullptr);
    return "<failed>";
  }
  std::string text = out;
  AUTH_freeBuffer(&out);
  return text;
}

std::string PackForDirectory(const char* user, const char* password, int32_t type,
                             const char* domain = "corp") {
  char* out = nullptr;
  EXPECT_EQ(AUTH_packAndEncrypt(user, password, domain, UAL_DomainType(type), 7, &out), 0);
  std::string text = out != nullptr ? out : "";
  AUTH_freeBuffer(&out);
  return text;
}

// A record opened with the master key independently of the unpacking code:
// Base64 and SHA-1 from OpenSSL, the cipher verified against its published
// vectors elsewhere.
struct OpenedRecord {
  Bytes outer;  // decrypted, its inner part still encrypted
  Bytes inner;  // decrypted

  uint32_t OuterWord(size_t offset) const { return LoadBigEndian32(outer.data() + offset); }
  uint32_t InnerWord(size_t offset) const { return LoadBigEndian32(inner.data() + offset); }
  Bytes SessionKey() const {
    Bytes key(32);
    for (size_t i = 0; i < 8; ++i) StoreLittleEndian32(OuterWord(8 + 4 * i), key.data() + 4 * i);
    return key;
  }
};

Bytes DecodeBase64(const std::string& text) {
  Bytes bytes(text.size() / 4 * 3 + 3);
  const int length = EVP_DecodeBlock(
      bytes.data(), reinterpret_cast<const unsigned char*>(text.data()), int(text.size()));
  EXPECT_GE(length, 0);
  size_t fill = 0;
  while (fill < text.size() && text[text.size() - 1 - fill] == '=') ++fill;
  bytes.resize(size_t(length) - fill);
  return bytes;
}

std::string EncodeBase64(const Bytes& bytes) {
  std::string text(bytes.size() / 3 * 4 + 5, '\0');
  const int length =
      EVP_EncodeBlock(reinterpret_cast<unsigned char*>(&text[0]), bytes.data(), int(bytes.size()));
  text.resize(size_t(length));
  return text;
}

Bytes Sha1(const unsigned char* bytes, size_t length) {
  Bytes digest(20);
  unsigned int size = 0;
  EVP_Digest(bytes, length, digest.data(), &size, EVP_sha1(), nullptr);
  return digest;
}

OpenedRecord Open(const std::string& text) {
  OpenedRecord record;
  record.outer = DecodeBase64(text);
  EXPECT_EQ(TwofishCrypt(DIR_DECRYPT, kUserAuthMasterKey, record.outer.data(),
                         int(record.outer.size()), record.outer.data()),
            0);
  const size_t innerLength = record.OuterWord(4);
  if (record.outer.size() < 48 || innerLength != record.outer.size() - 48) {
    ADD_FAILURE() << "outer record of " << record.outer.size() << " bytes announces "
                  << innerLength;
    return record;
  }
  record.inner.resize(innerLength);
  EXPECT_EQ(TwofishCrypt(DIR_DECRYPT, record.SessionKey().data(), record.outer.data() + 40,
                         int(innerLength), record.inner.data()),
            0);
  return record;
}

// The record encrypted and encoded again, after the inner part was put back
// under the session key that the outer record holds.
std::string Seal(const OpenedRecord& record) {
  Bytes outer = record.outer;
  TwofishCrypt(DIR_ENCRYPT, record.SessionKey().data(), record.inner.data(),
               int(record.inner.size()), outer.data() + 40);
  TwofishCrypt(DIR_ENCRYPT, kUserAuthMasterKey, outer.data(), int(outer.size()), outer.data());
  return EncodeBase64(outer);
}

void RecomputeDigest(OpenedRecord& record) {
  const size_t length = record.InnerWord(0);
  const Bytes digest = Sha1(record.inner.data() + 4, length);
  std::copy(digest.begin(), digest.end(), record.inner.begin() + 4 + long(length));
}

TEST(PPDXUserAuthLibTest, OneLetterNamesMakeTheSmallestRecords) {
  const time_t before = time(nullptr);
  const std::string text = Pack("a", "b");
  EXPECT_EQ(text.size(), 152u);  // 4 * ((112 + 2) / 3)
  EXPECT_EQ(text.find_first_of("\r\n"), std::string::npos);

  const OpenedRecord record = Open(text);
  ASSERT_EQ(record.outer.size(), 112u);  // O
  EXPECT_EQ(record.OuterWord(0), 1u);
  EXPECT_EQ(record.OuterWord(4), 64u);  // C
  EXPECT_EQ(Bytes(record.outer.end() - 8, record.outer.end()), Bytes(8, 0));
  // The session key's words: random 1, process id, random 2, time, random 3,
  // an address, random 4, random 1 again.
  EXPECT_EQ(record.OuterWord(12), uint32_t(getpid()));
  EXPECT_GE(record.OuterWord(20), uint32_t(before));
  EXPECT_LE(record.OuterWord(20), uint32_t(time(nullptr)));
  EXPECT_EQ(record.OuterWord(8), record.OuterWord(36));

  ASSERT_EQ(record.inner.size(), 64u);
  EXPECT_EQ(record.InnerWord(0), 38u);  // R
  const std::vector<uint32_t> header = {record.InnerWord(4), record.InnerWord(8),
                                        record.InnerWord(12), record.InnerWord(16),
                                        record.InnerWord(20)};
  EXPECT_EQ(header, (std::vector<uint32_t>{1, 1, 1, 0, kUALDomainDirectory}));
  EXPECT_EQ(Bytes(record.inner.begin() + 24, record.inner.begin() + 40), Bytes(kGUID, kGUID + 16));
  EXPECT_EQ(std::string(record.inner.begin() + 40, record.inner.begin() + 42), "ab");
  EXPECT_EQ(Bytes(record.inner.begin() + 42, record.inner.begin() + 62),
            Sha1(record.inner.data() + 4, 38));
  EXPECT_EQ(Bytes(record.inner.begin() + 62, record.inner.end()), Bytes(2, 0));  // A = 62

  EXPECT_EQ(Unpack(text), (Unpacked{"a", "b", "", kUALDomainDirectory, Bytes(kGUID, kGUID + 16)}));
  // A fresh session key each time.
  EXPECT_NE(Open(Pack("a", "b")).SessionKey(), record.SessionKey());
}

TEST(PPDXUserAuthLibTest, DirectoryAccountsPackNameAndPasswordOnly) {
  SubstitutedAdapters machine({Adapter("eth0", {0x02, 0x11, 0x22, 0x33, 0x44, 0x55})},
                              DefaultRouteTable("eth0"));
  const Bytes address = {0x02, 0x11, 0x22, 0x33, 0x44, 0x55};

  const Unpacked directory = Unpack(PackForDirectory("ann", "s3cret", kUALDomainDirectory));
  EXPECT_EQ(directory.user, "ann");
  EXPECT_EQ(directory.password, "s3cret");
  EXPECT_EQ(directory.domain, "");  // never packed
  EXPECT_EQ(directory.type, kUALDomainDirectory);
  EXPECT_EQ(Bytes(directory.guid.begin(), directory.guid.begin() + 6), address);

  // An empty user, or another kind of account: two empty texts (R 36, C 64).
  for (const std::string& text : {PackForDirectory("", "s3cret", kUALDomainDirectory),
                                  PackForDirectory("ann", "s3cret", 1)}) {
    const OpenedRecord record = Open(text);
    EXPECT_EQ(record.InnerWord(0), 36u);
    EXPECT_EQ(record.OuterWord(4), 64u);
    const Unpacked empty = Unpack(text);
    EXPECT_EQ(empty.user + "|" + empty.password + "|" + empty.domain, "||");
    EXPECT_EQ(empty.type, kUALDomainDirectory);
  }
  EXPECT_EQ(Unpack(PackForDirectory(nullptr, "s3cret", kUALDomainDirectory)).user, "");
  EXPECT_EQ(Unpack(PackForDirectory("ann", nullptr, kUALDomainDirectory)).user, "");

  // Texts are cut at 255 bytes, never inside a character.
  const std::string longName(300, 'x');
  EXPECT_EQ(Unpack(PackForDirectory(longName.c_str(), longName.c_str(), 2)).user,
            longName.substr(0, 255));
  const std::string splitAtCut = std::string(254, 'x') + "\xC3\xA9yy";
  EXPECT_EQ(Unpack(PackForDirectory(splitAtCut.c_str(), "p", 2)).user, std::string(254, 'x'));
  const std::string wholeAtCut = std::string(253, 'x') + "\xC3\xA9yy";
  EXPECT_EQ(Unpack(PackForDirectory(wholeAtCut.c_str(), "p", 2)).user, wholeAtCut.substr(0, 255));

  EXPECT_EQ(AUTH_packAndEncrypt("ann", "s3cret", "", kUALDomainDirectory, 0, nullptr), -1);
  AUTH_freeBuffer(nullptr);
}

std::string RandomText(std::mt19937& random, size_t maximum) {
  std::string text(random() % (maximum + 1), ' ');
  for (char& c : text) c = char(1 + random() % 255);
  return text;
}

TEST(PPDXUserAuthLibTest, RandomNamesAndPasswordsComeBackUnchanged) {
  std::mt19937 random(18);
  for (int round = 0; round < 150; ++round) {
    const std::string user = RandomText(random, 255);
    const std::string password = RandomText(random, 255);
    const std::string domain = RandomText(random, 40);
    const int32_t type = int32_t(random());
    unsigned char guid[kUALGUIDSize];
    for (unsigned char& byte : guid) byte = static_cast<unsigned char>(random());

    const std::string text = Pack(user.c_str(), password.c_str(), domain.c_str(), type, guid);
    const size_t recordLength = 36 + user.size() + password.size() + domain.size();
    const size_t outerLength = (recordLength + 24) / 16 * 16 + 16 + 48;
    ASSERT_EQ(text.size(), (outerLength + 2) / 3 * 4) << round;
    ASSERT_EQ(Unpack(text), (Unpacked{user, password, domain, type, Bytes(guid, guid + 16)}))
        << round;
  }
  // The longest texts a record carries, and one byte more.
  const std::string longest(kUALMaxFieldLength, 'z');
  EXPECT_EQ(Unpack(Pack(longest.c_str(), longest.c_str(), longest.c_str())).domain, longest);
  const std::string tooLong(kUALMaxFieldLength + 1, 'z');
  EXPECT_EQ(Pack(tooLong.c_str(), "p"), "<failed>");
  EXPECT_EQ(Pack("u", tooLong.c_str()), "<failed>");
  EXPECT_EQ(Pack("u", "p", tooLong.c_str()), "<failed>");
  // A missing domain is the empty one; a missing user, password or GUID packs nothing.
  EXPECT_EQ(Unpack(Pack("u", "p", nullptr)).domain, "");
  EXPECT_EQ(Pack(nullptr, "p"), "<failed>");
  EXPECT_EQ(Pack("u", nullptr), "<failed>");
  EXPECT_EQ(Pack("u", "p", "", 2, nullptr), "<failed>");
  EXPECT_EQ(UAL_PackAndEncrypt("u", "p", "", kUALDomainDirectory, kGUID, nullptr), -1);
}

TEST(PPDXUserAuthLibTest, AnyChangeToTheTextIsRefused) {
  const std::string text = Pack("ann", "s3cret");
  ASSERT_EQ(Unpack(text).user, "ann");
  static const char kAlphabet[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  for (size_t place = 0; place < text.size(); ++place) {
    const char* original = std::strchr(kAlphabet, text[place]);
    const size_t index = original != nullptr ? size_t(original - kAlphabet) : 0;
    // The neighbours in the alphabet differ in the lowest bits, which the last
    // character of a text does not all use.
    for (size_t step : {1, 2, 32, 63}) {
      std::string changed = text;
      changed[place] = kAlphabet[(index + step) % 64];
      ASSERT_EQ(Unpack(changed).user, "<failed>") << place << " " << changed[place];
    }
  }
  for (const std::string& changed :
       {text.substr(0, text.size() - 1), text.substr(1), text + "A", text + "====", text + "\n",
        text.substr(0, 64) + "\n" + text.substr(64), std::string(), std::string("===="),
        std::string("not Base64 at all")})
    EXPECT_EQ(Unpack(changed).user, "<failed>") << changed;
  EXPECT_EQ(Unpack(std::string(300000, 'A')).user, "<failed>");

  char* user = nullptr;
  char* password = nullptr;
  char* domain = nullptr;
  UAL_DomainType type;
  unsigned char guid[kUALGUIDSize];
  EXPECT_EQ(UAL_UnpackAndDecrypt(nullptr, &user, &password, &domain, &type, guid), -1);
  EXPECT_EQ(UAL_UnpackAndDecrypt(text.c_str(), &user, &password, &domain, &type, nullptr), -1);
  EXPECT_EQ(UAL_UnpackAndDecrypt(text.c_str(), nullptr, &password, &domain, &type, guid), -1);
}

// Each check refuses a record that passes all the others.
TEST(PPDXUserAuthLibTest, VersionsLengthsDigestAndPaddingAreEachChecked) {
  const std::string text = Pack("ann", "s3cret", "");
  auto changed = [&](const std::function<void(OpenedRecord&)>& change) {
    OpenedRecord record = Open(text);
    change(record);
    return Unpack(Seal(record)).user;
  };
  auto setOuter = [](OpenedRecord& record, size_t offset, uint32_t value) {
    StoreBigEndian32(value, record.outer.data() + offset);
  };
  auto setInner = [](OpenedRecord& record, size_t offset, uint32_t value) {
    StoreBigEndian32(value, record.inner.data() + offset);
  };

  EXPECT_EQ(changed([](OpenedRecord&) {}), "ann");
  EXPECT_EQ(changed([&](OpenedRecord& r) { setOuter(r, 0, 2); }), "<failed>");
  EXPECT_EQ(changed([&](OpenedRecord& r) { setOuter(r, 4, r.OuterWord(4) - 16); }), "<failed>");
  EXPECT_EQ(changed([&](OpenedRecord& r) { setOuter(r, 4, r.OuterWord(4) + 16); }), "<failed>");
  EXPECT_EQ(changed([](OpenedRecord& r) { r.outer.back() = 1; }), "<failed>");
  EXPECT_EQ(changed([](OpenedRecord& r) { r.inner[50] ^= 1; }), "<failed>");    // the digest
  EXPECT_EQ(changed([](OpenedRecord& r) { r.inner.back() = 1; }), "<failed>");  // the padding
  // Inner version and lengths, each with a digest that matches again.
  EXPECT_EQ(changed([&](OpenedRecord& r) {
              setInner(r, 4, 2);
              RecomputeDigest(r);
            }),
            "<failed>");
  EXPECT_EQ(changed([&](OpenedRecord& r) {
              setInner(r, 8, 4);
              RecomputeDigest(r);
            }),
            "<failed>");
  EXPECT_EQ(changed([&](OpenedRecord& r) {
              setInner(r, 8, 0xFFFFFFFF);
              RecomputeDigest(r);
            }),
            "<failed>");
  EXPECT_EQ(changed([&](OpenedRecord& r) {
              // Adds up to R only in 32-bit arithmetic.
              setInner(r, 8, 0x80000003);
              setInner(r, 12, 0x80000006);
              RecomputeDigest(r);
            }),
            "<failed>");
  // Lengths that add up differently still add up: the split moves, nothing is read outside.
  EXPECT_EQ(changed([&](OpenedRecord& r) {
              setInner(r, 8, 4);
              setInner(r, 12, 5);
              RecomputeDigest(r);
            }),
            "anns");
  // A record length that does not give this inner part's length.
  EXPECT_EQ(changed([&](OpenedRecord& r) { setInner(r, 0, 35); }), "<failed>");
  EXPECT_EQ(changed([&](OpenedRecord& r) { setInner(r, 0, 0xFFFFFFF0); }), "<failed>");

  // The same record under another master key.
  OpenedRecord record = Open(text);
  Bytes outer = record.outer;
  Bytes otherKey(kUserAuthMasterKey, kUserAuthMasterKey + 32);
  otherKey[0] ^= 0x80;
  TwofishCrypt(DIR_ENCRYPT, otherKey.data(), outer.data(), int(outer.size()), outer.data());
  EXPECT_EQ(Unpack(EncodeBase64(outer)).user, "<failed>");
}

TEST(PPDXUserAuthLibTest, IdentifiersCarryThePrimaryAdapterAndTheTime) {
  SubstitutedAdapters machine({Adapter("eth0", {0x02, 0, 0, 0, 0, 0x01}),
                               Adapter("wlan0", {0x02, 0xAA, 0xBB, 0xCC, 0xDD, 0xEE}),
                               Adapter("eth1", {0x02, 0, 0, 0, 0, 0x03})},
                              DefaultRouteTable("wlan0"));
  unsigned char* address = nullptr;
  EXPECT_EQ(goGetMACAddress(&address), KERN_SUCCESS);
  ASSERT_NE(address, nullptr);
  EXPECT_EQ(Bytes(address, address + 6), (Bytes{0x02, 0xAA, 0xBB, 0xCC, 0xDD, 0xEE}));
  EXPECT_EQ(goGetMACAddress(nullptr), KERN_INVALID_ARGUMENT);

  const uint32_t before = uint32_t(time(nullptr));
  unsigned char guid[kUALGUIDSize];
  ASSERT_TRUE(CreateGUID(guid));
  const uint32_t after = uint32_t(time(nullptr));
  EXPECT_EQ(Bytes(guid, guid + 6), (Bytes{0x02, 0xAA, 0xBB, 0xCC, 0xDD, 0xEE}));
  EXPECT_EQ(Bytes(guid + 10, guid + 16), Bytes(6, 0));
  // Seconds shifted by four, little-endian; the top byte's low half holds
  // microsecond bits, so only the rest is compared.
  const uint32_t stamp = LoadLittleEndian32(guid + 6) & 0xF0FFFFFFu;
  bool withinCall = false;
  for (uint32_t second = before; second <= after; ++second)
    withinCall |= stamp == ((second << 4) & 0xF0FFFFFFu);
  EXPECT_TRUE(withinCall) << std::hex << stamp;
  EXPECT_FALSE(CreateGUID(nullptr));
}

TEST(PPDXUserAuthLibTest, WithoutAnAdapterTheAddressIsZero) {
  SubstitutedAdapters machine({Adapter("lo", {}, true, true), Adapter("tun0", {})},
                              DefaultRouteTable("tun0"));
  unsigned char* address = nullptr;
  EXPECT_EQ(goGetMACAddress(&address), KERN_FAILURE);  // status 5: no match
  ASSERT_NE(address, nullptr);
  EXPECT_EQ(Bytes(address, address + 6), Bytes(6, 0));
  unsigned char guid[kUALGUIDSize];
  std::memset(guid, 0xFF, sizeof guid);
  ASSERT_TRUE(CreateGUID(guid));
  EXPECT_EQ(Bytes(guid, guid + 6), Bytes(6, 0));
}

}  // namespace
