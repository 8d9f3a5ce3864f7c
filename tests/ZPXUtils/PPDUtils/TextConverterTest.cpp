#include "ZPXUtils/PPDUtils/TextConverter.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>

#include "PPDX/PPDX.h"
#include "carbon/MacErrors.h"
#include "carbon/TextCommon.h"
#include "cf/CoreFoundation.h"
#include "support/PlatformString.h"

namespace {

// A document with only the two language lines read.
class LanguageDocument : public PPDX {
 public:
  LanguageDocument(const char* version, const char* encoding) {
    SetHeaderField(kLanguageVersion, version);
    SetHeaderField(kLanguageEncoding, encoding);
  }
};

// The converter of a UTF-8 document, whose encoding line is kept off the test's
// output.
std::unique_ptr<TextConverter> FromUTF8Document(const char* language) {
  LanguageDocument document(language, "UTF-8");
  testing::internal::CaptureStderr();
  std::unique_ptr<TextConverter> converter(new TextConverter(&document));
  testing::internal::GetCapturedStderr();
  return converter;
}

// The decoded text and, after a "|", the length that decoding gives.
std::string Dehex(const std::string& text) {
  std::string buffer(text.size() + 1, '\x7F');
  unsigned long length = TextConverter::DehexBufferFill(text.c_str(), &buffer[0]);
  return buffer.c_str() + ("|" + std::to_string(length));
}

std::string Translation(unsigned long source, const char* text) {
  TextConverter converter(source, kCFStringEncodingUTF8);
  return TakeText(converter.ConvertToCFString(text, 0));
}

TEST(TextConverterTest, HexSubstringsFollowTheDecodingRules) {
  EXPECT_EQ(Dehex("A<41 42>C"), "AABC|4");
  EXPECT_EQ(Dehex("<4 1\t42\r\n6a6A>"), "ABjj|4");
  EXPECT_EQ(Dehex("<>x"), "x|1");
  EXPECT_EQ(Dehex("a>b<41>"), "a>bA|4");
  EXPECT_EQ(Dehex("x<4>y<41>"), "x<4>y<41>|9");
  EXPECT_EQ(Dehex("<41>b<4g>c<41>"), "Ab<4g>c<41>|11");
  EXPECT_EQ(Dehex("<41>b<42 c"), "Ab<42 c|7");
  EXPECT_EQ(Dehex("ab<00>cd"), "ab|2");
}

TEST(TextConverterTest, TranslationsAreReadInTheSourceEncoding) {
  EXPECT_EQ(Translation(kTextEncodingISOLatin1, "caf\xE9"), "caf\xC3\xA9");
  EXPECT_EQ(Translation(kTextEncodingMacRoman, "\xE9"), "\xC3\x88");
  EXPECT_EQ(Translation(kTextEncodingWindowsLatin1, "<80>"), "\xE2\x82\xAC");
  EXPECT_EQ(Translation(kTextEncodingISOLatin2, "\xB1"), "\xC4\x85");
  EXPECT_EQ(Translation(kTextEncodingISOLatin5, "\xFD"), "\xC4\xB1");
  EXPECT_EQ(Translation(kTextEncodingShiftJIS, "\x93\xFA<967B>"), "\xE6\x97\xA5\xE6\x9C\xAC");
  EXPECT_EQ(Translation(TextConverter::kUnknownEncoding, "caf\xC3\xA9<00>x"), "caf\xC3\xA9");
  EXPECT_EQ(Translation(TextConverter::kUnknownEncoding, "caf\xE9"), "Translation Error");
  EXPECT_EQ(Translation(kTextEncodingShiftJIS, "\x82"), "Translation Error");
  EXPECT_EQ(Translation(kTextEncodingISOLatin1, nullptr), "");
}

// A choice's name is made long after it was read, by whatever converter the
// document has then: one converter reads each encoding it is given as a
// converter of that encoding would, back and forth between encodings that
// need their own Unicode converter.
TEST(TextConverterTest, TranslationsAreReadFromTheEncodingGivenWhateverTheConverters) {
  unsigned long unknown = TextConverter::kUnknownEncoding;
  TextConverter reader(unknown, unknown);
  auto from = [&reader](unsigned long source, const char* text) {
    return TakeText(reader.ConvertToCFStringFrom(text, source));
  };
  for (int round = 0; round < 2; ++round) {
    EXPECT_EQ(from(kTextEncodingISOLatin2, "\xB1"), Translation(kTextEncodingISOLatin2, "\xB1"));
    EXPECT_EQ(from(kTextEncodingShiftJIS, "\x93\xFA"), "\xE6\x97\xA5");
    EXPECT_EQ(from(kTextEncodingISOLatin5, "\xFD"), "\xC4\xB1");
    EXPECT_EQ(from(kTextEncodingISOLatin1, "\xB1"), "\xC2\xB1");
  }
  EXPECT_EQ(from(unknown, "caf\xE9"), "Translation Error");
  EXPECT_EQ(TakeText(reader.ConvertToCFString("\xB1", 0)), "Translation Error");
}

TEST(TextConverterTest, EncodingNamesAndDocuments) {
  const std::pair<const char*, unsigned long> names[] = {
      {"ISOLatin1", 0x201}, {"ISOLatin2", 0x202},   {"ISOLatin5", 0x209}, {"JIS83-RKSJ", 0xA01},
      {"MacStandard", 0},   {"WindowsANSI", 0x500}, {"isolatin1", 65535}, {nullptr, 65535}};
  for (const auto& name : names)
    EXPECT_EQ(TextConverter::LanguageStringToEncoding(name.first), name.second) << name.first;
  // The platform answers with its Unicode form; a UTF-8 PPD's bytes stay UTF-8.
  // The line that says so is a diagnostic, kept off standard output.
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  EXPECT_EQ(TextConverter::LanguageStringToEncoding("UTF-8"), kCFStringEncodingUTF8);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "CFStringGetMostCompatibleMacStringEncoding theEncoding = 100 (256)\n");
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  char unicodeText[16] = "\xE6\x97\xA5<C3A9>";
  EXPECT_EQ(FromUTF8Document("Japanese")->Convert(unicodeText, sizeof unicodeText), noErr);
  EXPECT_STREQ(unicodeText, "\xE6\x97\xA5\xC3\xA9");

  LanguageDocument latin("English", "ISOLatin1");
  TextConverter fromLatin(&latin);
  EXPECT_TRUE(fromLatin.ValidConverter());
  EXPECT_EQ(fromLatin.GetOutputEncoding(), kCFStringEncodingUTF8);
  EXPECT_EQ(TakeText(fromLatin.ConvertToCFString("<E9>", 0)), "\xC3\xA9");

  LanguageDocument unknown("English", "Klingon");
  TextConverter fromUnknown(&unknown);
  EXPECT_FALSE(fromUnknown.ValidConverter());
  EXPECT_EQ(fromUnknown.GetOutputEncoding(), 65535u);
  EXPECT_EQ(TakeText(fromUnknown.ConvertToCFString("\xC3\xA9", 0)), "\xC3\xA9");
  char text[] = "abc";
  EXPECT_EQ(fromUnknown.Convert(text, sizeof text), kTextUnsupportedEncodingErr);
  EXPECT_STREQ(text, "abc");
}

TEST(TextConverterTest, ConvertTakesEightBitTextAsMacRomanOutsideTheExceptionsUnlessUTF8) {
  LanguageDocument japanese("Japanese", "JIS83-RKSJ");
  TextConverter fromJapanese(&japanese);
  char hiragana[8] = "\x82\xA0";
  EXPECT_EQ(fromJapanese.Convert(hiragana, sizeof hiragana), noErr);
  EXPECT_STREQ(hiragana, "\xE3\x81\x82");

  LanguageDocument english("English", "ISOLatin1");
  TextConverter toSystem(&english);
  char latin[16] = "caf\xE9";
  EXPECT_EQ(toSystem.Convert(latin, sizeof latin), noErr);
  EXPECT_STREQ(latin, "caf\xC3\x88");
  char escaped[16] = "<E9>";  // the switch to Mac OS Roman stays
  EXPECT_EQ(toSystem.Convert(escaped, sizeof escaped), noErr);
  EXPECT_STREQ(escaped, "\xC3\x88");
  char typed[16] = "caf\xC3\xA9 <41>";  // well-formed UTF-8 is read as UTF-8
  EXPECT_EQ(toSystem.Convert(typed, sizeof typed), noErr);
  EXPECT_STREQ(typed, "caf\xC3\xA9 A");

  TextConverter toLatin(&english, kTextEncodingISOLatin1);
  char edited[16] = "caf\xC3\xA9 <41>";
  EXPECT_EQ(toLatin.Convert(edited, sizeof edited), noErr);
  EXPECT_STREQ(edited, "caf\xE9 A");
  char after[16] = "<E9>";  // reading one text as UTF-8 leaves the PPD's encoding
  EXPECT_EQ(toLatin.Convert(after, sizeof after), noErr);
  EXPECT_STREQ(after, "\xE9");
  // Bytes that are UTF-8 only in part are not UTF-8.
  TextConverter fromPart(&english);
  char broken[16] = "\xC3\xA9\xE9";
  EXPECT_EQ(fromPart.Convert(broken, sizeof broken), noErr);
  EXPECT_STREQ(broken, "\xE2\x88\x9A\xC2\xA9\xC3\x88");

  char notUnicode[16] = "caf\xE9";
  EXPECT_EQ(FromUTF8Document("English")->Convert(notUnicode, sizeof notUnicode), noErr);
  EXPECT_STREQ(notUnicode, "caf\xC3\x88");
}

TEST(TextConverterTest, ConvertKeepsToItsCapacityAndReportsFailures) {
  unsigned long latin = kTextEncodingISOLatin1;
  TextConverter toJIS(latin, kTextEncodingShiftJIS);
  char odd[8] = "abc";
  EXPECT_EQ(toJIS.Convert(odd, sizeof odd), noErr);
  EXPECT_STREQ(odd, "abc");

  TextConverter toUtf8(latin, kCFStringEncodingUTF8);
  char cut[5] = {'a', 'b', 'c', 'd', 'e'};
  EXPECT_EQ(toUtf8.Convert(cut, sizeof cut), noErr);
  EXPECT_STREQ(cut, "abcd");
  EXPECT_EQ(toUtf8.Convert(nullptr, 4), paramErr);
  char nothing[8] = "<00>a";
  EXPECT_EQ(toUtf8.Convert(nothing, sizeof nothing), 5000);
  EXPECT_STREQ(nothing, "<00>a");

  unsigned long utf8 = kCFStringEncodingUTF8;
  TextConverter toLatinFromUtf8(utf8, kTextEncodingISOLatin1);
  char unmappable[8] = "x\xE3\x81\x82";
  EXPECT_EQ(toLatinFromUtf8.Convert(unmappable, sizeof unmappable), kTECUnmappableElementErr);
  EXPECT_STREQ(unmappable, "x\xE3\x81\x82");
}

TEST(TextConverterTest, PlatformStringsIntoBuffers) {
  CFStringRef name = CFStringCreateWithCString(nullptr, "caf\xC3\xA9", kCFStringEncodingUTF8);
  char buffer[8];
  TextConverter::CFStringToCstring(name, buffer, sizeof buffer);
  EXPECT_STREQ(buffer, "caf\xC3\xA9");
  TextConverter::CFStringToCstring(name, buffer, 4);
  EXPECT_STREQ(buffer, "Tra");
  TextConverter::CFStringToCstring(nullptr, buffer, sizeof buffer);
  EXPECT_STREQ(buffer, "Transla");
  CFRelease(name);
}

}  // namespace
