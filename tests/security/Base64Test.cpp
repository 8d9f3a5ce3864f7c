#include <gtest/gtest.h>
#include <openssl/evp.h>

#include "security/Base64Decoder.h"
#include "security/Base64Encoder.h"
#include "security/TestBytes.h"

namespace {

std::string Encode(const Bytes& bytes, bool lineBreaks = false) {
  std::string text(Base64Encoder::EncodedLength(bytes.size(), lineBreaks), '?');
  text.resize(Base64Encoder::Encode(bytes.data(), bytes.size(), &text[0], lineBreaks));
  return text;
}

Bytes Decode(const std::string& text) {
  Bytes bytes(Base64Decoder::MaxDecodedLength(text.size()));
  Base64Decoder decoder;
  bytes.resize(decoder.Decode(text.data(), text.size(), bytes.data(), bytes.size()));
  return bytes;
}

Bytes TextBytes(const std::string& s) { return Bytes(s.begin(), s.end()); }

TEST(Base64Test, KnownAnswersBothWays) {
  const std::pair<const char*, const char*> vectors[] = {{"", ""},
                                                         {"f", "Zg=="},
                                                         {"fo", "Zm8="},
                                                         {"foo", "Zm9v"},
                                                         {"foob", "Zm9vYg=="},
                                                         {"fooba", "Zm9vYmE="},
                                                         {"foobar", "Zm9vYmFy"}};
  for (const auto& [plain, encoded] : vectors) {
    EXPECT_EQ(Encode(TextBytes(plain)), encoded);
    EXPECT_EQ(Decode(encoded), TextBytes(plain));
  }
}

TEST(Base64Test, MatchesReferenceOverRandomBytesWithoutLineBreaks) {
  std::mt19937 random(4648);
  for (int i = 0; i < 300; ++i) {
    const Bytes bytes = RandomBytes(random, random() % 300);
    std::string expected(4 * ((bytes.size() + 2) / 3) + 1, '\0');
    expected.resize(size_t(EVP_EncodeBlock(reinterpret_cast<unsigned char*>(&expected[0]),
                                           bytes.data(), int(bytes.size()))));
    const std::string encoded = Encode(bytes);
    ASSERT_EQ(encoded, expected);
    ASSERT_EQ(Decode(encoded), bytes);
  }
}

TEST(Base64Test, LineFeedsOnlyWithTheFlag) {
  const Bytes bytes(100, 0xa5);
  EXPECT_EQ(Encode(bytes).find('\n'), std::string::npos);
  const std::string broken = Encode(bytes, true);
  ASSERT_EQ(broken.size(), 136u + 2u);
  EXPECT_EQ(broken[64], '\n');
  EXPECT_EQ(broken[129], '\n');
  EXPECT_EQ(std::count(broken.begin(), broken.end(), '\n'), 2);
  EXPECT_EQ(Decode(broken), bytes);
}

TEST(Base64Test, DecoderSkipsStrangersStopsAtFillAndCarriesGroups) {
  EXPECT_EQ(Decode(" Zm\r\n9v*Ym\tFy "), TextBytes("foobar"));
  EXPECT_EQ(Decode("Zg==Zm9v"), TextBytes("f"));
  EXPECT_EQ(Decode("\xff\x80Zm8="), TextBytes("fo"));

  Base64Decoder decoder;
  unsigned char out[8];
  size_t written = decoder.Decode("Zm9vY", 5, out, sizeof out);
  written += decoder.Decode("mFy", 3, out + written, sizeof out - written);
  EXPECT_EQ(Bytes(out, out + written), TextBytes("foobar"));
}

TEST(Base64Test, DecoderNeverWritesPastItsRoom) {
  std::mt19937 random(64);
  for (int i = 0; i < 200; ++i) {
    std::string text;
    for (size_t n = random() % 200; n > 0; --n) text += char(random());
    const size_t room = random() % 40;
    std::vector<unsigned char> out(room);  // exactly sized for the address checker
    Base64Decoder decoder;
    EXPECT_LE(decoder.Decode(text.data(), text.size(), out.data(), room), room);
  }
  Base64Decoder decoder;
  unsigned char two[2];
  EXPECT_EQ(decoder.Decode("Zm9vYmFy", 8, two, 2), 2u);
  EXPECT_EQ(Bytes(two, two + 2), TextBytes("fo"));
}

}  // namespace
