#include "foundation/PPDFileStream.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/PPDFile.h"
#include "support/StreamLine.h"
#include "support/TempFile.h"

namespace {

// Every line of the file, read copied and in place, from the file in memory
// and window by window: all four must agree.
std::vector<StreamLine> ReadAllLines(const std::string& bytes, bool windowed = true) {
  TempFile file(bytes);
  PPDFile ppd(file.Path());
  std::vector<StreamLine> lines[4];
  for (int way = 0; way < 4; ++way) {
    const bool inPlace = way % 2 == 1;
    PPDFileStream stream(&ppd, windowed, way < 2 ? PPDFileStream::kMostInMemory : 0);
    // Reads past failures too, so that what follows them is checked as well.
    while (!stream.Bad()) {
      StreamLine line = inPlace ? NextLineInPlace(stream) : NextStreamLine(stream);
      if (!line.complete && stream.EndOfFile() && line.text.empty()) break;
      lines[way].push_back(line);
    }
  }
  for (int way = 1; way < 4; ++way)
    EXPECT_TRUE(lines[0] == lines[way])
        << way << bytes.substr(bytes.size() > 400 ? bytes.size() - 400 : 0);
  return lines[0];
}

// 99 lines of 100 bytes: the next line starts 100 bytes before the end of
// the first window.
std::string Filler() {
  std::string filler;
  for (int i = 0; i < 99; ++i) filler += std::string(99, 'f') + "\n";
  return filler;
}

}  // namespace

TEST(PPDFileStreamTest, LinesAcrossTheWindowEnd) {
  struct {
    std::string tail;  // starts 100 bytes before the window's end
    StreamLine straddling;
    std::string next;
  } cases[] = {
      {std::string(200, 'y') + "\nnext\n", {true, std::string(200, 'y')}, "next"},
      // A CR ending the window and the LF starting the next are one line end.
      {std::string(99, 'a') + "\r\nnext\n", {true, std::string(99, 'a')}, "next"},
      // An LF starting a window after a complete line is an empty line.
      {std::string(99, 'a') + "\n\nnext\n", {true, std::string(99, 'a')}, ""},
      // The 255-byte limit holds for the joined line.
      {std::string(255, 'd') + "\nnext\n", {true, std::string(255, 'd')}, "next"},
      {std::string(150, 'b') + std::string(150, 'c') + "\n",
       {false, std::string(150, 'b') + std::string(105, 'c')},
       std::string(45, 'c')},
  };
  for (const auto& c : cases) {
    std::vector<StreamLine> lines = ReadAllLines(Filler() + c.tail);
    ASSERT_GE(lines.size(), 101u) << c.tail;
    EXPECT_EQ(lines[99].complete, c.straddling.complete) << c.tail;
    EXPECT_EQ(lines[99].text, c.straddling.text);
    EXPECT_EQ(lines[100].text, c.next);
  }
}

TEST(PPDFileStreamTest, FilesLongerThanSeveralWindows) {
  std::string text;
  for (int i = 0; i < 3000; ++i) text += "*Line" + std::to_string(i) + (i % 2 ? "\r\n" : "\r");
  for (bool windowed : {true, false}) {
    std::vector<StreamLine> lines = ReadAllLines(text, windowed);
    ASSERT_EQ(lines.size(), 3000u);
    for (int i = 0; i < 3000; ++i) {
      ASSERT_TRUE(lines[i].complete);
      ASSERT_EQ(lines[i].text, "*Line" + std::to_string(i));
    }
  }
  // The last line without a line end comes back incomplete, then nothing.
  std::vector<StreamLine> lines = ReadAllLines(Filler() + std::string(150, 'z'));
  ASSERT_EQ(lines.size(), 100u);
  EXPECT_FALSE(lines[99].complete);
  EXPECT_EQ(lines[99].text, std::string(150, 'z'));
}

// Only lines go on across the window's end, though the whole file is read at
// once: a token read from the stream itself (as the header is) ends there.
TEST(PPDFileStreamTest, TokensStopAtTheWindowEnd) {
  const long window = PPDFileStream::kWindowSize;
  TempFile file(std::string(window + 2000, 'x') + ":\nnext\n");
  PPDFile ppd(file.Path());
  for (long mostInMemory : {PPDFileStream::kMostInMemory, 0L}) {
    PPDFileStream stream(&ppd, true, mostInMemory);
    std::string token(window + 4000, '\0');
    EXPECT_EQ(stream.ReadToken(&token[0], token.size(), ":"), static_cast<unsigned long>(window));
    EXPECT_TRUE(stream.EndOfFile());
    // The next line starts in the next window: the rest of the long one.
    StreamLine rest = NextLineInPlace(stream);
    EXPECT_FALSE(rest.complete);
    EXPECT_EQ(rest.text, std::string(PPDStream::kMaxLine, 'x'));
  }
}

TEST(PPDFileStreamTest, FilesWithoutLinesMakeABadStream) {
  TempFile empty("");
  PPDFile emptyFile(empty.Path());
  EXPECT_TRUE(PPDFileStream(&emptyFile, true).Bad());
  PPDFile missing((empty.Directory() + "/missing.ppd").c_str());
  EXPECT_TRUE(PPDFileStream(&missing, true).Bad());
  EXPECT_TRUE(PPDFileStream(nullptr, true).Bad());
}

TEST(PPDFileStreamTest, ClosesOnlyTheForkItOpened) {
  TempFile file("*PPD-Adobe: \"4.3\"\n");
  PPDFile ppd(file.Path());
  {
    PPDFileStream stream(&ppd, true);
    EXPECT_TRUE(stream.Good());
    EXPECT_TRUE(ppd.dataForkOpen());
  }
  EXPECT_FALSE(ppd.dataForkOpen());
  ASSERT_EQ(ppd.openDataFork(fsRdPerm), noErr);
  { PPDFileStream stream(&ppd, true); }
  EXPECT_TRUE(ppd.dataForkOpen());
}
