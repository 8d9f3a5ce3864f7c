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

TEST(PPDStreamTest, EveryLineEndEndsOneLineAndTheLastLineNeedsOne) {
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
}

TEST(PPDStreamTest, Byte255StopsTheLine) {
  std::string text = "ab\xff" "cd\n";
  PPDStream stream(text.data(), static_cast<long>(text.size()));
  Line line = NextLine(stream);
  EXPECT_FALSE(line.complete);
  EXPECT_EQ(line.text, "ab");
  EXPECT_EQ(stream.PeekChar(), 255);
}

TEST(PPDStreamTest, CharactersAndStatus) {
  PPDStream none(nullptr, 5);
  EXPECT_TRUE(none.Bad());
  PPDStream negative("abc", 0);
  EXPECT_TRUE(negative.Bad());

  const char text[] = " \t x";
  PPDStream stream(text, 4);
  stream.SkipWhiteSpace();
  EXPECT_EQ(stream.PeekChar(), 'x');
  char c = 0;
  EXPECT_TRUE(stream.GetChar(c));
  EXPECT_EQ(c, 'x');
  EXPECT_EQ(stream.PeekChar(), -1);
  EXPECT_FALSE(stream.GetChar(c));
  EXPECT_EQ(c, -1);
  EXPECT_TRUE(stream.EndOfFile());

  // Set up without data: bad, still over the old text.
  stream.Setup(nullptr, 0);
  EXPECT_TRUE(stream.Bad());
  stream.Setup(text + 3, 1);
  EXPECT_TRUE(stream.Good());
  EXPECT_EQ(stream.PeekChar(), 'x');
}
