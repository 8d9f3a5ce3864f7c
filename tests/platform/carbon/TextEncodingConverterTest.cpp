#include "carbon/TextEncodingConverter.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "carbon/TextCommon.h"

namespace {

const TextEncoding kUTF8 = CreateTextEncoding(kTextEncodingUnicodeDefault,
                                              kTextEncodingDefaultVariant, kUnicodeUTF8Format);
const TextEncoding kUTF16 = CreateTextEncoding(kTextEncodingUnicodeDefault,
                                               kTextEncodingDefaultVariant, kUnicode16BitFormat);

// Unicode in 16-bit form is in the host's byte order.
std::string Units(std::initializer_list<UniChar> units) {
  std::string bytes;
  for (UniChar unit : units) bytes.append(reinterpret_cast<const char*>(&unit), sizeof unit);
  return bytes;
}

struct Result {
  OSStatus status;
  ByteCount read;
  std::string text;
};

// Converts in one call into a buffer of the given size.
Result Convert(TextEncoding from, TextEncoding to, const std::string& input, size_t room = 64) {
  TECObjectRef converter = nullptr;
  EXPECT_EQ(TECCreateConverter(&converter, from, to), noErr);
  std::string output(room, '\0');
  ByteCount read = 0, written = 0;
  OSStatus status =
      TECConvertText(converter, reinterpret_cast<ConstTextPtr>(input.data()), input.size(), &read,
                     reinterpret_cast<TextPtr>(&output[0]), room, &written);
  EXPECT_EQ(TECDisposeConverter(converter), noErr);
  return {status, read, output.substr(0, written)};
}

TEST(TextEncodingConverterTest, EachKnownEncodingReadsItsOwnCharacterSet) {
  struct Case {
    TextEncoding encoding;
    std::string bytes, utf8;
  } cases[] = {
      {kTextEncodingMacRoman, "\xE9", "\xC3\x88"},              // È
      {kTextEncodingISOLatin1, "\xE9", "\xC3\xA9"},             // é
      {kTextEncodingISOLatin2, "\xB1", "\xC4\x85"},             // ą
      {kTextEncodingISOLatin5, "\xFD", "\xC4\xB1"},             // dotless i
      {kTextEncodingWindowsLatin1, "\x80", "\xE2\x82\xAC"},     // euro sign
      {kTextEncodingShiftJIS, "\\\x82\xA0", "\\\xE3\x81\x82"},  // backslash, hiragana a
      {kTextEncodingMacJapanese, "\x82\xA0", "\xE3\x81\x82"},
      {kUTF16, Units({'A', 0xE9, 0x3042}), "A\xC3\xA9\xE3\x81\x82"},
  };
  for (const Case& c : cases) {
    Result decoded = Convert(c.encoding, kUTF8, c.bytes);
    EXPECT_EQ(decoded.status, noErr) << c.encoding;
    EXPECT_EQ(decoded.text, c.utf8) << c.encoding;
    EXPECT_EQ(Convert(kUTF8, c.encoding, c.utf8).text, c.bytes) << c.encoding;
  }
  TECObjectRef converter = reinterpret_cast<TECObjectRef>(1);
  EXPECT_EQ(TECCreateConverter(&converter, kTextEncodingISOLatin1, 0x0A02),
            kTextUnsupportedEncodingErr);
  EXPECT_EQ(converter, nullptr);
}

// Status, bytes consumed and bytes written of one call.
std::string Outcome(TextEncoding from, TextEncoding to, const std::string& input, size_t room) {
  Result result = Convert(from, to, input, room);
  return std::to_string(result.status) + " " + std::to_string(result.read) + " " + result.text;
}

TEST(TextEncodingConverterTest, StopsWhereOutputIsFullOrInputIsBad) {
  EXPECT_EQ(Outcome(kTextEncodingISOLatin1, kUTF8, "\xE9\xE9\xE9", 3), "-8785 1 \xC3\xA9");
  EXPECT_EQ(Outcome(kTextEncodingISOLatin1, kUTF8, "\xE9", 1), "-8750 0 ");
  EXPECT_EQ(Outcome(kUTF8, kTextEncodingISOLatin1, "ab\xFF", 8), "-8739 2 ab");
  EXPECT_EQ(Outcome(kUTF8, kTextEncodingISOLatin1, "a\xE3\x81\x82", 8), "-8754 1 a");
  EXPECT_EQ(Outcome(kUTF8, kTextEncodingISOLatin1, "a\xC3", 8), "-8753 1 a");
}

}  // namespace
