#include "PPDX/PPDX.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "foundation/PPDFile.h"
#include "foundation/PPDFileStream.h"
#include "foundation/PPDStream.h"
#include "support/TempFile.h"

namespace {

class TestDocument : public PPDX {
 public:
  using PPDX::SetStream;
};

// Reads PPD text the way the parser does: the first line of the file becomes
// a line stream, later lines stay in the file stream that value readers use.
class HeaderReader {
 public:
  explicit HeaderReader(const std::string& text)
      : mFile(text), mPPD(mFile.Path()), mStream(&mPPD, true) {
    mDocument.SetStream(&mStream);
    mStream.GetLine(mLine);
    mLineStream.Setup(mLine, static_cast<long>(std::strlen(mLine)));
  }

  PPDStream& Line() { return mLineStream; }
  TestDocument& Document() { return mDocument; }
  // The next line the parser's loop would see.
  std::string NextLine() {
    char out[PPDStream::kMaxLine + 1];
    return mStream.GetLine(out) ? out : "<none>";
  }

 private:
  TempFile mFile;
  PPDFile mPPD;
  PPDFileStream mStream;
  TestDocument mDocument;
  char mLine[PPDStream::kMaxLine + 1];
  PPDStream mLineStream;
};

std::string Token(PPDStream& stream, const char* delimiters, bool strip = true) {
  char out[PPDStream::kMaxLine + 1];
  return PPDX::NextToken(stream, out, delimiters, strip) ? out : "<none>";
}

PPDStream Over(const std::string& text) {
  return PPDStream(text.data(), static_cast<long>(text.size()));
}

}  // namespace

TEST(PPDXTest, NextTokenDelimiters) {
  std::string openUI = "*OpenUI *Duplex/Two-Sided: PickOne";
  PPDStream line = Over(openUI);
  EXPECT_EQ(Token(line, " \t:"), "*OpenUI");
  EXPECT_EQ(Token(line, "/:"), "*Duplex");
  EXPECT_EQ(Token(line, ":"), "Two-Sided");
  EXPECT_EQ(Token(line, ";(;)"), "PickOne");
  EXPECT_EQ(Token(line, ";(;)"), "<none>");

  // A leading delimiter is an empty token, not skipped.
  std::string indented = "  *Key: x";
  PPDStream spaces = Over(indented);
  EXPECT_EQ(Token(spaces, " \t:"), "<none>");

  // Without delimiters the token is the rest of the line; a CR before the
  // final LF is dropped, a lone CR ends the token.
  std::string rest = " ISOLatin1 \r\nnext";
  PPDStream crlf = Over(rest);
  EXPECT_EQ(Token(crlf, nullptr, false), " ISOLatin1 ");
  std::string loneCR = "one\rtwo";
  PPDStream cr = Over(loneCR);
  EXPECT_EQ(Token(cr, nullptr), "one");
  EXPECT_EQ(Token(cr, nullptr), "two");

  // Stripping may leave nothing while the call still succeeds.
  std::string blank = " \t :x";
  PPDStream whitespace = Over(blank);
  EXPECT_EQ(Token(whitespace, ":"), "");

  std::string longToken = std::string(300, 't') + ":after";
  PPDStream tooLong = Over(longToken);
  EXPECT_EQ(Token(tooLong, ":"), std::string(255, 't'));
  EXPECT_EQ(Token(tooLong, ":"), "after");

  char text[] = " \t \tvalue ";
  PPDX::StripLeadingWhiteSpace(text);
  EXPECT_STREQ(text, "value ");
}

// A value reader's result over the first line of a file, with the line the
// parser's loop sees next.
struct ValueCase {
  const char* file;
  unsigned long capacity;
  unsigned long result;  // for quoted values: 0 or 1 (non-zero)
  std::string value;
  const char* nextLine;
};

TEST(PPDXTest, QuotedValues) {
  const ValueCase cases[] = {
      {"*ModelName: \"\"\n*Next\n", 256, 0, "", "*Next"},
      {"*ModelName: \"ZPX 9000\" trailing\n*Next\n", 256, 1, "ZPX 9000", "*Next"},
      {"*ModelName: \"abcdef\"\n", 4, 1, "abc", "<none>"},
      // Not closed on its line: the lines up to the closing quote, or up to a
      // keyword line, are consumed and only the first line's part is kept.
      {"*Note: \"ABC\n\nUVW\"\n*Next\n", 256, 1, "ABC", "*Next"},
      {"*Note: \"ABC\n*Swallowed\n*Next\n", 256, 1, "ABC", "*Next"},
      {"*PCFileName: ZPX.PPD\nmore\nend\"\n*Next\n", 256, 1, "", "*Next"},
      {"*Note: \"ABC\nnever closed\n", 256, 0, "ABC", "<none>"},
  };
  for (const ValueCase& c : cases) {
    HeaderReader reader(c.file);
    char out[256];
    EXPECT_EQ(reader.Document().GetQuotedString(reader.Line(), out, c.capacity) ? 1u : 0u, c.result)
        << c.file;
    EXPECT_EQ(out, c.value) << c.file;
    EXPECT_EQ(reader.NextLine(), c.nextLine) << c.file;
  }
}

// The value's length is the result of a PostScript value reader.
struct PostScriptCase {
  const char* file;
  unsigned long capacity;
  std::string value;
  const char* nextLine;
};

TEST(PPDXTest, PostScriptValues) {
  const PostScriptCase cases[] = {
      {"*ZPDuplex Top/Top: \"<</Duplex true>> setpagedevice\"\n", 4096,
       "<</Duplex true>> setpagedevice\n", "<none>"},
      {"*ZPDuplex None: \"\"\n", 4096, "", "<none>"},
      {"*ZPDuplex None: code\n\"more\"\n", 4096, "", "\"more\""},
      // Continuation lines: an empty one dropped, a "*%" one read from its
      // third byte, the closing quote in the middle of a line.
      {"*Code: \"one\n  two\n\n*%three\" ignored\n*Next\n", 4096, "one\n  two\nthree\n", "*Next"},
      // A keyword line ends the value with two line feeds and is consumed.
      {"*Code: \"one\n*Swallowed\n*Next\n", 4096, "one\n\n", "*Next"},
      {"*Code: \"one\ntwo\n", 4096, "one\ntwo\n", "<none>"},
      // A value that fits gets one line feed; one that does not is cut.
      {"*Code: \"ab\"\n", 4, "ab\n", "<none>"},
      {"*Code: \"abcd\"\n", 4, "abc\n", "<none>"},
  };
  for (const PostScriptCase& c : cases) {
    HeaderReader reader(c.file);
    char out[4096];
    unsigned long length = reader.Document().GetPostscriptString(reader.Line(), out, c.capacity);
    EXPECT_EQ(std::string(out, length), c.value) << c.file;
    EXPECT_EQ(reader.NextLine(), c.nextLine) << c.file;
  }
}

TEST(PPDXTest, LongPostScriptValuesAreCutToCapacity) {
  std::string file = "*Code: \"";
  std::string value;
  for (int i = 0; i < 51; ++i) {
    std::string text(99, static_cast<char>('a' + i % 26));
    file += text + "\n";
    value += (i == 0 ? "" : "\n") + text;
  }
  HeaderReader reader(file + "\"\n");
  char out[4096];
  ASSERT_EQ(reader.Document().GetPostscriptString(reader.Line(), out, 4096), 4096u);
  EXPECT_EQ(std::string(out, 4095), value.substr(0, 4095));
  EXPECT_EQ(out[4095], '\n');
}
