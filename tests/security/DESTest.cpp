#include <gtest/gtest.h>

#include "security/DES.h"
#include "security/ReferenceCiphers.h"
#include "security/TestBytes.h"

namespace {

Bytes RunDES(const Bytes& key, const Bytes& block, short direction) {
  deskey(key.data(), direction);
  Bytes out(8);
  des(block.data(), out.data());
  return out;
}

TEST(DESTest, KnownAnswerBothDirectionsAndInPlace) {
  const Bytes key = FromHex("133457799bbcdff1");
  Bytes block = FromHex("0123456789abcdef");
  EXPECT_EQ(ToHex(RunDES(key, block, EN0)), "85e813540f0ab405");
  EXPECT_EQ(ToHex(RunDES(key, FromHex("85e813540f0ab405"), DE1)), "0123456789abcdef");
  deskey(key.data(), EN0);
  des(block.data(), block.data());
  EXPECT_EQ(ToHex(block), "85e813540f0ab405");
}

TEST(DESTest, MatchesReferenceOverRandomKeysAndBlocks) {
  std::mt19937 random(46);
  for (int i = 0; i < 2000; ++i) {
    const Bytes key = RandomBytes(random, 8);
    const Bytes block = RandomBytes(random, 8);
    ASSERT_EQ(RunDES(key, block, EN0), ReferenceDES(key, block, true)) << ToHex(key);
    ASSERT_EQ(RunDES(key, block, DE1), ReferenceDES(key, block, false)) << ToHex(key);
  }
}

TEST(DESTest, CopiedSchedulesCanBeReloaded) {
  const Bytes key1 = FromHex("133457799bbcdff1");
  const Bytes key2 = FromHex("0e329232ea6d0d73");
  const Bytes block = FromHex("0123456789abcdef");
  uint32_t first[kDESScheduleWords];
  deskey(key1.data(), EN0);
  cpkey(first);
  const Bytes second = RunDES(key2, block, EN0);
  usekey(first);
  Bytes out(8);
  des(block.data(), out.data());
  EXPECT_EQ(ToHex(out), "85e813540f0ab405");
  EXPECT_NE(second, out);
}

}  // namespace
