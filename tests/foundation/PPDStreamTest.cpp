#include "foundation/PPDStream.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Line {
  bool complete;
  std::string text;
};

Line NextLine(PPDStream& stream) {
  char out[PPDStream::kMaxLine + 1];
  bool complete = stream.GetLine(out);
  return {complete, out};
}

}  // namespace

TEST(PPDStreamTest, LineLengthLimitIs255Bytes) {
  std::string fits = std::string(255, 'a') + "\n";
  PPDStream exact(fits.data(), static_cast<long>(fits.size()));
  Line line = NextLine(exact);
  EXPECT_TRUE(line.complete);
  EXPECT_EQ(line.text, std::string(255, 'a'));

  std::string over = std::string(256, 'b') + "\n";
  PPDStream tooLong(over.data(), static_cast<long>(over.size()));
  line = NextLine(tooLong);
  EXPECT_FALSE(line.complete);
  EXPECT_EQ(line.text, std::string(255, 'b'));
  EXPECT_TRUE(tooLong.Good());
}

TEST(PPDStreamTest, LineEndsAndWhatStopsALine) {
  std::string text = "cr\rlf\ncrlf\r\n\nlast";
  PPDStream stream(text.data(), static_cast<long>(text.size()));
  EXPECT_EQ(NextLine(stream).text, "cr");
  EXPECT_EQ(NextLine(stream).text, "lf");
  EXPECT_EQ(NextLine(stream).text, "crlf");
  Line empty = NextLine(stream);
  EXPECT_TRUE(empty.complete);
  EXPECT_EQ(empty.text, "");
  Line last = NextLine(stream);
  EXPECT_FALSE(last.complete);
  EXPECT_EQ(last.text, "last");
  EXPECT_TRUE(stream.EndOfFile());

  std::string stop = "ab\xff" "cd\n";
  PPDStream byte255(stop.data(), static_cast<long>(stop.size()));
  Line line = NextLine(byte255);
  EXPECT_FALSE(line.complete);
  EXPECT_EQ(line.text, "ab");
}

TEST(PPDStreamTest, CharactersAndStatus) {
  EXPECT_TRUE(PPDStream(nullptr, 5).Bad());
  EXPECT_TRUE(PPDStream("abc", 0).Bad());
  const char text[] = " \t x";
  PPDStream stream(text, 4);
  stream.SkipWhiteSpace();
  char c = 0;
  EXPECT_TRUE(stream.GetChar(c));
  EXPECT_EQ(c, 'x');
  EXPECT_EQ(stream.PeekChar(), -1);
  EXPECT_FALSE(stream.GetChar(c));
  EXPECT_EQ(c, -1);
  EXPECT_TRUE(stream.EndOfFile());
}
