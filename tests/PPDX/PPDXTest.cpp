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
  using PPDX::kLanguageEncoding;
  using PPDX::kModelName;
  using PPDX::SetHeaderField;
  using PPDX::SetStream;
};

// Reads PPD text the way the parser does: the first line of the file becomes
// a line stream, later lines stay in the file stream that value readers use.
class Reader {
 public:
  explicit Reader(const std::string& text) : mFile(text), mPPD(mFile.Path()), mStream(&mPPD, true) {
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

PPDStream Over(const std::string& text) { return PPDStream(text.data(), static_cast<long>(text.size())); }

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
}

TEST(PPDXTest, StripLeadingWhiteSpace) {
  char text[] = " \t \tvalue ";
  PPDX::StripLeadingWhiteSpace(text);
  EXPECT_STREQ(text, "value ");
}

TEST(PPDXTest, QuotedValuesOnOneLine) {
  Reader empty("*ModelName: \"\"\n*Next\n");
  char out[256];
  EXPECT_FALSE(empty.Document().GetQuotedString(empty.Line(), out, 256));
  EXPECT_EQ(empty.NextLine(), "*Next");

  Reader model("*ModelName: \"ZPX 9000\" trailing\n*Next\n");
  EXPECT_TRUE(model.Document().GetQuotedString(model.Line(), out, 256));
  EXPECT_STREQ(out, "ZPX 9000");
  EXPECT_EQ(model.NextLine(), "*Next");

  Reader cut("*ModelName: \"abcdef\"\n");
  EXPECT_TRUE(cut.Document().GetQuotedString(cut.Line(), out, 4));
  EXPECT_STREQ(out, "abc");
}

TEST(PPDXTest, QuotedValuesGoOnThroughTheFile) {
  char out[256];
  Reader open("*Note: \"ABC\n\nUVW\"\n*Next\n");
  EXPECT_TRUE(open.Document().GetQuotedString(open.Line(), out, 256));
  EXPECT_STREQ(out, "ABC");
  EXPECT_EQ(open.NextLine(), "*Next");

  // A keyword line ends the value and is consumed with it.
  Reader keyword("*Note: \"ABC\n*Swallowed\n*Next\n");
  EXPECT_TRUE(keyword.Document().GetQuotedString(keyword.Line(), out, 256));
  EXPECT_STREQ(out, "ABC");
  EXPECT_EQ(keyword.NextLine(), "*Next");

  Reader unquoted("*PCFileName: ZPX.PPD\nmore\nend\"\n*Next\n");
  EXPECT_TRUE(unquoted.Document().GetQuotedString(unquoted.Line(), out, 256));
  EXPECT_STREQ(out, "");
  EXPECT_EQ(unquoted.NextLine(), "*Next");

  Reader endOfFile("*Note: \"ABC\nnever closed\n");
  EXPECT_FALSE(endOfFile.Document().GetQuotedString(endOfFile.Line(), out, 256));
}

TEST(PPDXTest, PostScriptValues) {
  char out[4096];
  Reader oneLine("*ZPDuplex Top/Top: \"<</Duplex true>> setpagedevice\"\n");
  unsigned long length = oneLine.Document().GetPostscriptString(oneLine.Line(), out, 4096);
  EXPECT_EQ(std::string(out, length), "<</Duplex true>> setpagedevice\n");

  Reader empty("*ZPDuplex None: \"\"\n");
  EXPECT_EQ(empty.Document().GetPostscriptString(empty.Line(), out, 4096), 0u);

  Reader noQuote("*ZPDuplex None: code\n\"more\"\n");
  EXPECT_EQ(noQuote.Document().GetPostscriptString(noQuote.Line(), out, 4096), 0u);
  EXPECT_EQ(noQuote.NextLine(), "\"more\"");

  // Continuation lines, an empty line dropped, a "*%" line read from its
  // third byte, the closing quote in the middle of a line.
  Reader lines("*Code: \"one\n  two\n\n*%three\" ignored\n*Next\n");
  length = lines.Document().GetPostscriptString(lines.Line(), out, 4096);
  EXPECT_EQ(std::string(out, length), "one\n  two\nthree\n");
  EXPECT_EQ(lines.NextLine(), "*Next");

  // A keyword line ends the value with two line feeds and is consumed.
  Reader keyword("*Code: \"one\n*Swallowed\n*Next\n");
  length = keyword.Document().GetPostscriptString(keyword.Line(), out, 4096);
  EXPECT_EQ(std::string(out, length), "one\n\n");
  EXPECT_EQ(keyword.NextLine(), "*Next");

  Reader endOfFile("*Code: \"one\ntwo\n");
  length = endOfFile.Document().GetPostscriptString(endOfFile.Line(), out, 4096);
  EXPECT_EQ(std::string(out, length), "one\ntwo\n");
}

TEST(PPDXTest, LongPostScriptValuesAreCutToCapacity) {
  std::string file = "*Code: \"";
  std::string value;
  for (int i = 0; i < 51; ++i) {
    std::string text(99, static_cast<char>('a' + i % 26));
    file += text + "\n";
    value += (i == 0 ? "" : "\n") + text;
  }
  file += "\"\n";
  ASSERT_GE(value.size(), 5000u);
  Reader reader(file);
  char out[4096];
  unsigned long length = reader.Document().GetPostscriptString(reader.Line(), out, 4096);
  ASSERT_EQ(length, 4096u);
  EXPECT_EQ(std::string(out, 4095), value.substr(0, 4095));
  EXPECT_EQ(out[4095], '\n');

  // A value that leaves room for its line feed gets just that one.
  Reader fits("*Code: \"ab\"\n");
  EXPECT_EQ(fits.Document().GetPostscriptString(fits.Line(), out, 4), 3u);
  EXPECT_EQ(std::string(out, 3), "ab\n");
  Reader over("*Code: \"abcd\"\n");
  EXPECT_EQ(over.Document().GetPostscriptString(over.Line(), out, 4), 4u);
  EXPECT_EQ(std::string(out, 4), "abc\n");
}

TEST(PPDXTest, HeaderTexts) {
  TestDocument document;
  EXPECT_EQ(document.LanguageEncoding(), nullptr);
  document.SetHeaderField(TestDocument::kLanguageEncoding, "ISOLatin1");
  document.SetHeaderField(TestDocument::kModelName, "first");
  document.SetHeaderField(TestDocument::kModelName, "second");
  EXPECT_STREQ(document.LanguageEncoding(), "ISOLatin1");
  EXPECT_STREQ(document.ModelName(), "second");
  EXPECT_EQ(document.LanguageVersion(), nullptr);
  document.SetHeaderField(TestDocument::kModelName, nullptr);
  EXPECT_EQ(document.ModelName(), nullptr);
}
