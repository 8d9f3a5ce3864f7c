#include "foundation/CFDataStream.h"

#include <gtest/gtest.h>

#include <cstring>

#include "carbon/MacErrors.h"

TEST(CFDataStream, ReadsBackWhatWasWrittenAndNeverPastIt) {
  CFDataStream writer;
  ASSERT_TRUE(writer.valid());
  EXPECT_FALSE(writer.dataExists());
  ASSERT_TRUE(writer.out("abc", 3));
  ASSERT_TRUE(writer.out("defg", 4));
  EXPECT_EQ(7u, writer.dataSize());

  CFDataStream reader(writer.GetData());
  ASSERT_TRUE(reader.valid());
  char bytes[8];
  std::memset(bytes, '#', sizeof bytes);
  unsigned long count = 0;
  short error = 1;
  ASSERT_TRUE(reader.in(bytes, 2, &count, &error));
  EXPECT_EQ(2u, count);
  EXPECT_EQ(noErr, error);
  EXPECT_FALSE(reader.in(bytes + 2, 6, &count, &error));
  EXPECT_EQ(5u, count);
  EXPECT_EQ(eofErr, error);
  EXPECT_EQ(eofErr, reader.LastError());
  EXPECT_EQ(0, std::memcmp(bytes, "abcdefg#", 8));

  CFDataStream overNothing(nullptr);
  EXPECT_FALSE(overNothing.valid());
  EXPECT_FALSE(overNothing.in(bytes, 1, &count, &error));
  EXPECT_EQ(0u, count);
  EXPECT_FALSE(overNothing.out("x", 1));
}
