#include "foundation/PPDStream.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "support/StreamLine.h"

namespace {

// What a token read must give, byte by byte: the stored bytes and how many
// bytes it consumed.
std::pair<std::string, size_t> ExpectedToken(const std::string& text, const std::string& delimiters,
                                             size_t capacity) {
  std::string out;
  size_t at = 0;
  while (at < text.size()) {
    char c = text[at++];
    if (c == '\n') {
      if (!out.empty() && out.back() == '\r') out.pop_back();
      break;
    }
    if (delimiters.find(c) != std::string::npos) break;
    if (c == '\r' && (at == text.size() || text[at] != '\n')) break;
    if (out.size() < capacity) out += c;
  }
  return {out, at};
}

// What reading one line must give: its bytes, whether a line end closed it,
// and where the next read starts.
struct ExpectedLine {
  std::string text;
  bool complete;
  size_t next;
};

ExpectedLine ExpectedLineAt(const std::string& text, size_t at) {
  std::string out;
  while (at < text.size()) {
    char c = text[at];
    if (c == '\n' || c == '\r') {
      ++at;
      if (c == '\r' && at < text.size() && text[at] == '\n') ++at;
      return {out, true, at};
    }
    if (static_cast<unsigned char>(c) == 255 || out.size() == PPDStream::kMaxLine) break;
    out += c;
    ++at;
  }
  return {out, false, at};
}

// What copying up to a stop byte must give: the bytes, what stopped the copy
// and where the next read starts.
struct ExpectedCopy {
  std::string text;
  int stop;
  size_t next;
};

ExpectedCopy ExpectedCopyUntil(const std::string& text, const std::string& stops, size_t capacity) {
  std::string out;
  for (size_t at = 0;;) {
    if (out.size() == capacity) return {out, PPDStream::kStoppedFull, at};
    if (at == text.size()) return {out, PPDStream::kStoppedAtEnd, at};
    char c = text[at++];
    if (c == '\n' || c == '\r' || stops.find(c) != std::string::npos)
      return {out, static_cast<unsigned char>(c), at};
    out += c;
  }
}

// A line as the parser sees it: up to its first NUL.
std::string UpToNul(const std::string& text) { return text.substr(0, text.find('\0')); }

// The words of a line in place are what white space skipped and a token up to
// a space or tab give.
void ExpectWordsAsTokens(const std::string& line) {
  PPDStream words(line.data(), long(line.size()));
  PPDStream tokens(line.data(), long(line.size()));
  for (;;) {
    PPDStream::Line word = words.NextWord();
    char token[PPDStream::kMaxLine + 1];
    tokens.SkipWhiteSpace();
    unsigned long stored = tokens.ReadToken(token, PPDStream::kMaxLine, " \t");
    ASSERT_EQ(std::string(token, stored), std::string(word.text, word.length)) << line;
    ASSERT_EQ(tokens.PeekChar(), words.PeekChar()) << line;
    if (stored == 0) break;
  }
}

}  // namespace

// Random texts rich in the bytes that end tokens and lines, at every offset
// from the start of a text, so that stops fall inside and at the edges of
// whatever blocks the reader takes at a time; one delimiter set is longer
// than the reader keeps in its fast path. Lines are read both copied and in
// place, and a NUL ends what is seen of a line either way.
TEST(PPDStreamTest, TokensAndLinesOfRandomTextStopWhereTheyMust) {
  const std::string alphabet = std::string("ab :/;()\"\t\r\n") + char(255) + '\0';
  const std::string delimiterSets[] = {"", " \t:", "/:", ";(;)", "\r", "\"", ":;/()|&^%~"};
  std::mt19937 random(2024);
  for (int round = 0; round < 3000; ++round) {
    std::string text(random() % 300, 'x');
    for (char& c : text) {
      if (random() % 3 == 0) c = alphabet[random() % alphabet.size()];
    }
    const std::string& delimiters = delimiterSets[round % 7];
    const unsigned long capacity = 1 + random() % 80;
    PPDStream tokens(text.data(), long(text.size()));
    std::string out(capacity, '\0');
    unsigned long stored = tokens.ReadToken(&out[0], capacity, delimiters.c_str());
    auto expected = ExpectedToken(text, delimiters, capacity);
    ASSERT_EQ(expected.first, out.substr(0, stored)) << round;
    char next;
    ASSERT_EQ(expected.second < text.size(), tokens.GetChar(next)) << round;
    if (expected.second < text.size()) {
      ASSERT_EQ(text[expected.second], next) << round;
    }

    PPDStream copy(text.data(), long(text.size()));
    PPDStream inPlace(text.data(), long(text.size()));
    for (size_t at = 0;;) {
      ExpectedLine line = ExpectedLineAt(text, at);
      for (StreamLine read : {NextStreamLine(copy), NextLineInPlace(inPlace)}) {
        ASSERT_EQ(UpToNul(line.text), read.text) << round;
        ASSERT_EQ(line.complete, read.complete) << round;
      }
      ExpectWordsAsTokens(UpToNul(line.text));
      if (!line.complete) break;
      at = line.next;
    }

    PPDStream copied(text.data(), long(text.size()));
    std::string value(capacity, '\0');
    unsigned long length = 0;
    int stop = copied.CopyUntil(&value[0], length, capacity, TokenDelimiters(delimiters.c_str()));
    ExpectedCopy wanted = ExpectedCopyUntil(text, delimiters, capacity);
    ASSERT_EQ(wanted.text, value.substr(0, length)) << round;
    ASSERT_EQ(wanted.stop, stop) << round;
    ASSERT_EQ(wanted.next < text.size(), copied.GetChar(next)) << round;
    if (wanted.next < text.size()) {
      ASSERT_EQ(text[wanted.next], next) << round;
    }
  }
}

TEST(PPDStreamTest, LineLengthLimitIs255Bytes) {
  std::string fits = std::string(255, 'a') + "\n";
  PPDStream exact(fits.data(), static_cast<long>(fits.size()));
  StreamLine line = NextStreamLine(exact);
  EXPECT_TRUE(line.complete);
  EXPECT_EQ(line.text, std::string(255, 'a'));

  std::string over = std::string(256, 'b') + "\n";
  PPDStream tooLong(over.data(), static_cast<long>(over.size()));
  line = NextStreamLine(tooLong);
  EXPECT_FALSE(line.complete);
  EXPECT_EQ(line.text, std::string(255, 'b'));
  EXPECT_TRUE(tooLong.Good());
}

TEST(PPDStreamTest, LineEndsAndWhatStopsALine) {
  std::string text = "cr\rlf\ncrlf\r\n\nlast";
  PPDStream stream(text.data(), static_cast<long>(text.size()));
  EXPECT_EQ(NextStreamLine(stream).text, "cr");
  EXPECT_EQ(NextStreamLine(stream).text, "lf");
  EXPECT_EQ(NextStreamLine(stream).text, "crlf");
  StreamLine empty = NextStreamLine(stream);
  EXPECT_TRUE(empty.complete);
  EXPECT_EQ(empty.text, "");
  StreamLine last = NextStreamLine(stream);
  EXPECT_FALSE(last.complete);
  EXPECT_EQ(last.text, "last");
  EXPECT_TRUE(stream.EndOfFile());

  std::string stop =
      "ab\xff"
      "cd\n";
  PPDStream byte255(stop.data(), static_cast<long>(stop.size()));
  StreamLine line = NextStreamLine(byte255);
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
