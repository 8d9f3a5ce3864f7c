#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

#include "cf/CFRef.h"
#include "cf/CFText.h"
#include "cf/CoreFoundation.h"

namespace {

CFStringRef utf8(const char* text) {
  return CFStringCreateWithCString(kCFAllocatorDefault, text, kCFStringEncodingUTF8);
}

std::string cString(CFStringRef text, CFStringEncoding encoding = kCFStringEncodingUTF8) {
  char buffer[512];
  if (!CFStringGetCString(text, buffer, sizeof buffer, encoding)) return "<failed>";
  return buffer;
}

std::string format(CFStringRef format, ...) {
  va_list arguments;
  va_start(arguments, format);
  CFRef<CFStringRef> text(
      CFStringCreateWithFormatAndArguments(nullptr, nullptr, format, arguments));
  va_end(arguments);
  return cString(text.get());
}

}  // namespace

TEST(CFString, CreateCopyRule) {
  CFStringRef text = utf8("abc");
  EXPECT_EQ(CFRetain(text), text);
  CFRelease(text);
  EXPECT_EQ(CFGetTypeID(text), CFStringGetTypeID());
  EXPECT_NE(CFGetTypeID(text), CFDataGetTypeID());

  // A copy of an immutable string may be the same object, but it is a new reference.
  CFRef<CFStringRef> copy(CFStringCreateCopy(nullptr, text));
  EXPECT_TRUE(CFEqual(copy.get(), text));
  CFRelease(text);
  EXPECT_EQ(cString(copy.get()), "abc");

  // Constants are shared and survive any release.
  CFStringRef constant = CFSTR("constant text");
  EXPECT_EQ(constant, CFSTR("constant text"));
  CFRelease(constant);
  CFRelease(constant);
  EXPECT_EQ(cString(CFSTR("constant text")), "constant text");
}

TEST(CFString, EqualValuesCreatedDifferentlyAreEqualWithEqualHashes) {
  const UInt8 latin1[] = {'c', 'a', 'f', 0xE9};
  const UniChar characters[] = {'c', 'a', 'f', 0xE9};
  CFRef<CFStringRef> fromBytes(
      CFStringCreateWithBytes(nullptr, latin1, 4, kCFStringEncodingISOLatin1, false));
  CFRef<CFStringRef> fromCString(utf8("caf\xC3\xA9"));
  CFRef<CFStringRef> fromCharacters(CFStringCreateWithCharacters(nullptr, characters, 4));
  CFRef<CFMutableStringRef> mutableText(CFStringCreateMutableCopy(nullptr, 0, CFSTR("caf")));
  CFRef<CFStringRef> accent(CFStringCreateWithCharacters(nullptr, characters + 3, 1));
  CFStringAppend(mutableText.get(), accent.get());

  for (CFStringRef other :
       {fromCString.get(), fromCharacters.get(), CFStringRef(mutableText.get())}) {
    EXPECT_TRUE(CFEqual(fromBytes.get(), other));
    EXPECT_EQ(CFHash(fromBytes.get()), CFHash(other));
  }
  EXPECT_EQ(CFStringGetLength(fromBytes.get()), 4);
  EXPECT_EQ(CFStringGetCharacterAtIndex(fromBytes.get(), 3), 0xE9);
  CFRef<CFStringRef> different(utf8("cafe"));
  EXPECT_FALSE(CFEqual(fromBytes.get(), different.get()));
}

TEST(CFString, LengthsCountUTF16UnitsAndConversionsKeepSurrogatePairs) {
  CFRef<CFStringRef> text(utf8("a\xF0\x9F\x98\x80z"));  // a, U+1F600, z
  ASSERT_EQ(CFStringGetLength(text.get()), 4);
  EXPECT_EQ(CFStringGetCharacterAtIndex(text.get(), 1), 0xD83D);
  EXPECT_EQ(CFStringGetCharacterAtIndex(text.get(), 2), 0xDE00);
  EXPECT_EQ(cString(text.get()), "a\xF0\x9F\x98\x80z");
  EXPECT_EQ(CFStringGetMaximumSizeForEncoding(4, kCFStringEncodingUTF8), 12);

  // Invalid UTF-8 creates nothing: an overlong form, a stray continuation, a cut sequence.
  for (const char* invalid : {"\xC0\xAF", "a\x80", "\xE2\x82", "\xED\xA0\x80"})
    EXPECT_EQ(utf8(invalid), nullptr) << invalid;
}

TEST(CFString, EncodingsThatCannotRepresentATextFail) {
  CFRef<CFStringRef> accented(utf8("\xC3\xA9t\xC3\xA9"));  // été
  char small[16];
  EXPECT_FALSE(CFStringGetCString(accented.get(), small, sizeof small, kCFStringEncodingASCII));
  EXPECT_EQ(cString(accented.get(), kCFStringEncodingISOLatin1), "\xE9t\xE9");
  EXPECT_EQ(cString(accented.get(), kCFStringEncodingMacRoman), "\x8Et\x8E");

  // The same byte is a different letter in Mac OS Roman and in ISO Latin 1.
  const UInt8 byte[] = {0xE9};
  CFRef<CFStringRef> mac(
      CFStringCreateWithBytes(nullptr, byte, 1, kCFStringEncodingMacRoman, false));
  CFRef<CFStringRef> latin(
      CFStringCreateWithBytes(nullptr, byte, 1, kCFStringEncodingISOLatin1, false));
  EXPECT_EQ(CFStringGetCharacterAtIndex(mac.get(), 0), 0xC8);    // È
  EXPECT_EQ(CFStringGetCharacterAtIndex(latin.get(), 0), 0xE9);  // é
  EXPECT_EQ(CFStringCreateWithBytes(nullptr, byte, 1, kCFStringEncodingASCII, false), nullptr);

  // Without a loss byte the conversion stops at the first character it cannot
  // represent; with one, every such character is replaced.
  UInt8 buffer[8];
  CFIndex used = -1;
  CFRef<CFStringRef> mixed(
      utf8("ab\xC3\xA9"
           "cd"));
  EXPECT_EQ(CFStringGetBytes(mixed.get(), CFRangeMake(0, 5), kCFStringEncodingASCII, 0, false,
                             buffer, sizeof buffer, &used),
            2);
  EXPECT_EQ(used, 2);
  EXPECT_EQ(CFStringGetBytes(mixed.get(), CFRangeMake(0, 5), kCFStringEncodingASCII, '?', false,
                             buffer, sizeof buffer, &used),
            5);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), static_cast<size_t>(used)), "ab?cd");
  // A buffer too small for the next character ends the conversion before it.
  EXPECT_EQ(CFStringGetBytes(mixed.get(), CFRangeMake(0, 5), kCFStringEncodingUTF8, 0, false,
                             buffer, 3, &used),
            2);
  EXPECT_EQ(used, 2);
  // A null buffer measures.
  EXPECT_EQ(CFStringGetBytes(mixed.get(), CFRangeMake(1, 4), kCFStringEncodingUTF8, 0, false,
                             nullptr, 0, &used),
            4);
  EXPECT_EQ(used, 5);
  // A C string that does not fit fails rather than being cut.
  EXPECT_FALSE(CFStringGetCString(mixed.get(), small, 6, kCFStringEncodingUTF8));
  EXPECT_TRUE(CFStringGetCString(mixed.get(), small, 7, kCFStringEncodingUTF8));
}

TEST(CFString, LegacyEncodingsRoundTrip) {
  struct Case {
    CFStringEncoding encoding;
    const char* bytes;
    const char* text;
  } cases[] = {
      {kCFStringEncodingISOLatin2, "\xB1\xE6", "\xC4\x85\xC4\x87"},              // ąć
      {kCFStringEncodingISOLatin5, "\xFD\xF0", "\xC4\xB1\xC4\x9F"},              // ığ
      {kCFStringEncodingWindowsLatin1, "\x80\x93", "\xE2\x82\xAC\xE2\x80\x9C"},  // €“
      {kCFStringEncodingWindowsLatin2, "\x9A", "\xC5\xA1"},                      // š
      {kCFStringEncodingShiftJIS, "\x82\xA0", "\xE3\x81\x82"},                   // あ
      {kCFStringEncodingMacJapanese, "\x82\xA0", "\xE3\x81\x82"},
  };
  for (const Case& c : cases) {
    CFRef<CFStringRef> decoded(CFStringCreateWithCString(nullptr, c.bytes, c.encoding));
    EXPECT_EQ(cString(decoded.get()), c.text) << std::hex << c.encoding;
    CFRef<CFStringRef> text(utf8(c.text));
    EXPECT_EQ(cString(text.get(), c.encoding), c.bytes) << std::hex << c.encoding;
  }
  EXPECT_EQ(CFStringGetSystemEncoding(), kCFStringEncodingUTF8);
  EXPECT_EQ(CFStringGetMostCompatibleMacStringEncoding(kCFStringEncodingUTF8),
            kCFStringEncodingUnicode);
  EXPECT_EQ(CFStringGetMostCompatibleMacStringEncoding(kCFStringEncodingISOLatin1),
            kCFStringEncodingMacRoman);
}

// Converters are kept between conversions: each text must still go through the
// converter of its own encoding, and a failed conversion must not spoil the next.
TEST(CFString, ConversionsInTurnKeepTheirEncodingsApart) {
  const UInt8 accented[] = {'a', 0xE9};
  const UInt8 cut[] = {'a', 0x82};
  const UInt8 hiragana[] = {0x82, 0xA0};
  for (int round = 0; round < 2; ++round) {
    CFRef<CFStringRef> mac(
        CFStringCreateWithBytes(nullptr, accented, 2, kCFStringEncodingMacRoman, false));
    EXPECT_EQ(cString(mac.get()), "a\xC3\x88");  // aÈ
    EXPECT_EQ(CFStringCreateWithBytes(nullptr, cut, 2, kCFStringEncodingShiftJIS, false), nullptr);
    CFRef<CFStringRef> japanese(
        CFStringCreateWithBytes(nullptr, hiragana, 2, kCFStringEncodingShiftJIS, false));
    EXPECT_EQ(cString(japanese.get()), "\xE3\x81\x82");
    CFRef<CFStringRef> windows(
        CFStringCreateWithBytes(nullptr, accented, 2, kCFStringEncodingWindowsLatin1, false));
    EXPECT_EQ(cString(windows.get()), "a\xC3\xA9");  // aé
    EXPECT_EQ(cString(mac.get(), kCFStringEncodingWindowsLatin1), "a\xC8");
  }

  // ISO Latin 1 has a character for every byte, of the byte's value.
  UInt8 bytes[256];
  for (int i = 0; i < 256; ++i) bytes[i] = static_cast<UInt8>(i);
  CFRef<CFStringRef> all(
      CFStringCreateWithBytes(nullptr, bytes, 256, kCFStringEncodingISOLatin1, false));
  ASSERT_EQ(CFStringGetLength(all.get()), 256);
  for (int i = 0; i < 256; ++i) EXPECT_EQ(CFStringGetCharacterAtIndex(all.get(), i), i);
  UInt8 back[256];
  CFIndex used = 0;
  EXPECT_EQ(CFStringGetBytes(all.get(), CFRangeMake(0, 256), kCFStringEncodingISOLatin1, 0, false,
                             back, sizeof back, &used),
            256);
  EXPECT_EQ(std::memcmp(back, bytes, sizeof back), 0);
  CFRef<CFStringRef> euro(utf8("\xE2\x82\xAC"));
  EXPECT_EQ(CFStringGetBytes(euro.get(), CFRangeMake(0, 1), kCFStringEncodingISOLatin1, 0, false,
                             back, sizeof back, &used),
            0);
}

TEST(CFString, ExternalRepresentationCarriesAByteOrderMark) {
  CFRef<CFStringRef> text(utf8("A\xC3\xA9"));
  CFRef<CFDataRef> external(
      CFStringCreateExternalRepresentation(nullptr, text.get(), kCFStringEncodingUnicode, '?'));
  ASSERT_EQ(CFDataGetLength(external.get()), 6);
  const UInt8* bytes = CFDataGetBytePtr(external.get());
  UniChar mark;
  std::memcpy(&mark, bytes, 2);
  EXPECT_EQ(mark, 0xFEFF);  // in this machine's order
  CFRef<CFStringRef> back(
      CFStringCreateFromExternalRepresentation(nullptr, external.get(), kCFStringEncodingUnicode));
  EXPECT_TRUE(CFEqual(back.get(), text.get()));

  // Either byte order is read by its mark; without a mark the text is big-endian.
  const UInt8 little[] = {0xFF, 0xFE, 'A', 0, 0xE9, 0};
  const UInt8 big[] = {0xFE, 0xFF, 0, 'A', 0, 0xE9};
  const UInt8 unmarked[] = {0, 'A', 0, 0xE9};
  for (auto input : {std::basic_string<UInt8>(little, 6), std::basic_string<UInt8>(big, 6),
                     std::basic_string<UInt8>(unmarked, 4)}) {
    CFRef<CFDataRef> data(CFDataCreate(nullptr, input.data(), static_cast<CFIndex>(input.size())));
    CFRef<CFStringRef> read(
        CFStringCreateFromExternalRepresentation(nullptr, data.get(), kCFStringEncodingUnicode));
    EXPECT_TRUE(CFEqual(read.get(), text.get()));
  }
  const UInt8 odd[] = {0xFE, 0xFF, 0};
  CFRef<CFDataRef> oddData(CFDataCreate(nullptr, odd, 3));
  EXPECT_EQ(
      CFStringCreateFromExternalRepresentation(nullptr, oddData.get(), kCFStringEncodingUnicode),
      nullptr);

  // An encoding without the character and without a loss byte gives nothing.
  EXPECT_EQ(CFStringCreateExternalRepresentation(nullptr, text.get(), kCFStringEncodingASCII, 0),
            nullptr);
  CFRef<CFDataRef> lossy(
      CFStringCreateExternalRepresentation(nullptr, text.get(), kCFStringEncodingASCII, '?'));
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(CFDataGetBytePtr(lossy.get())), 2), "A?");
}

TEST(CFString, CompareIgnoringCaseOverARange) {
  CFRef<CFStringRef> value(utf8("TRUEish"));
  EXPECT_EQ(CFStringCompareWithOptions(value.get(), CFSTR("true"), CFRangeMake(0, 4),
                                       kCFCompareCaseInsensitive),
            kCFCompareEqualTo);
  EXPECT_NE(CFStringCompareWithOptions(value.get(), CFSTR("true"), CFRangeMake(0, 4), 0),
            kCFCompareEqualTo);
  // A range past the end compares what is there.
  CFRef<CFStringRef> shorter(utf8("Tru"));
  EXPECT_EQ(CFStringCompareWithOptions(shorter.get(), CFSTR("true"), CFRangeMake(0, 4),
                                       kCFCompareCaseInsensitive),
            kCFCompareLessThan);
  EXPECT_EQ(CFStringCompare(CFSTR("\xC3\x89t\xC3\xA9"), CFSTR("\xC3\xA9T\xC3\x89"),
                            kCFCompareCaseInsensitive),
            kCFCompareEqualTo);
  EXPECT_EQ(CFStringCompare(CFSTR("abc"), CFSTR("abd"), 0), kCFCompareLessThan);
  EXPECT_EQ(CFStringCompare(CFSTR("abc"), CFSTR("ab"), 0), kCFCompareGreaterThan);
  EXPECT_EQ(CFStringCompare(CFSTR("item10"), CFSTR("item9"), 0), kCFCompareLessThan);
  EXPECT_EQ(CFStringCompare(CFSTR("item10"), CFSTR("item9"), kCFCompareNumerically),
            kCFCompareGreaterThan);
  EXPECT_EQ(CFStringCompare(CFSTR("a007"), CFSTR("a7"), kCFCompareNumerically), kCFCompareEqualTo);
}

TEST(CFString, FindWithOptions) {
  CFRef<CFStringRef> text(utf8("Letter Legal letter"));
  CFRange found = CFStringFind(text.get(), CFSTR("letter"), 0);
  EXPECT_EQ(found.location, 13);
  EXPECT_EQ(found.length, 6);
  EXPECT_EQ(CFStringFind(text.get(), CFSTR("letter"), kCFCompareCaseInsensitive).location, 0);
  EXPECT_EQ(
      CFStringFind(text.get(), CFSTR("LETTER"), kCFCompareCaseInsensitive | kCFCompareBackwards)
          .location,
      13);
  EXPECT_EQ(CFStringFind(text.get(), CFSTR("Legal"), kCFCompareAnchored).location, kCFNotFound);
  EXPECT_EQ(CFStringFind(text.get(), CFSTR("x"), 0).length, 0);
  EXPECT_TRUE(CFStringFindWithOptions(text.get(), CFSTR("Legal"), CFRangeMake(7, 5),
                                      kCFCompareAnchored, &found));
  EXPECT_EQ(found.location, 7);
  EXPECT_FALSE(CFStringFindWithOptions(text.get(), CFSTR("Legal"), CFRangeMake(8, 11), 0, &found));

  CFRef<CFStringRef> middle(CFStringCreateWithSubstring(nullptr, text.get(), CFRangeMake(7, 5)));
  EXPECT_EQ(cString(middle.get()), "Legal");
}

TEST(CFString, LeadingNumbers) {
  EXPECT_EQ(CFStringGetIntValue(CFSTR("  42 pages")), 42);
  EXPECT_EQ(CFStringGetIntValue(CFSTR("-17")), -17);
  EXPECT_EQ(CFStringGetIntValue(CFSTR("+8x")), 8);
  EXPECT_EQ(CFStringGetIntValue(CFSTR("pages 42")), 0);
  EXPECT_EQ(CFStringGetIntValue(CFSTR("")), 0);
  EXPECT_EQ(CFStringGetIntValue(CFSTR("99999999999")), INT_MAX);
  EXPECT_EQ(CFStringGetIntValue(CFSTR("-99999999999")), INT_MIN);
  EXPECT_DOUBLE_EQ(CFStringGetDoubleValue(CFSTR(" 8.5 11")), 8.5);
  EXPECT_DOUBLE_EQ(CFStringGetDoubleValue(CFSTR("-.25in")), -0.25);
  EXPECT_DOUBLE_EQ(CFStringGetDoubleValue(CFSTR("1.5e3")), 1500.0);
  EXPECT_DOUBLE_EQ(CFStringGetDoubleValue(CFSTR("2e")), 2.0);
  EXPECT_DOUBLE_EQ(CFStringGetDoubleValue(CFSTR("abc")), 0.0);
  EXPECT_DOUBLE_EQ(CFStringGetDoubleValue(CFSTR(".")), 0.0);
}

TEST(CFString, FormatConversions) {
  EXPECT_EQ(format(CFSTR("%d|%5d|%-5d|%05d|%+d"), 42, 42, 42, 42, 42), "42|   42|42   |00042|+42");
  EXPECT_EQ(format(CFSTR("%u %x %X %o %c %%"), 300u, 255u, 255u, 8u, 'A'), "300 ff FF 10 A %");
  EXPECT_EQ(format(CFSTR("%ld %lu %lld %hd"), -5L, 7UL, 1LL << 40, 70000),
            "-5 7 1099511627776 4464");
  EXPECT_EQ(format(CFSTR("%f|%.2f|%8.3f|%e|%g"), 1.5, 2.345, 3.14159, 1500.0, 0.0001),
            "1.500000|2.35|   3.142|1.500000e+03|0.0001");
  EXPECT_EQ(format(CFSTR("%s|%.3s|%*d"), "text", "abcdef", 4, 7), "text|abc|   7");
  EXPECT_EQ(format(CFSTR("%p"), nullptr), "(nil)");

  CFRef<CFStringRef> name(utf8("Caf\xC3\xA9"));
  SInt32 number = 12;
  double real = 0.5;
  CFRef<CFNumberRef> boxed(CFNumberCreate(nullptr, kCFNumberSInt32Type, &number));
  CFRef<CFNumberRef> boxedReal(CFNumberCreate(nullptr, kCFNumberDoubleType, &real));
  EXPECT_EQ(format(CFSTR("[%@] [%8@] [%-6@] %@ %@ %@"), name.get(), name.get(), name.get(),
                   boxed.get(), boxedReal.get(), nullptr),
            "[Caf\xC3\xA9] [    Caf\xC3\xA9] [Caf\xC3\xA9  ] 12 0.5 (null)");
  // A format that ends inside a conversion stops there.
  EXPECT_EQ(format(CFSTR("50%")), "50");
}

TEST(CFText, UTF8IsCutOnlyOnCharacterBoundaries) {
  const std::string emoji = "\xF0\x9F\x98\x80\xF0\x9F\x98\x80";
  for (size_t limit : {4u, 5u, 6u, 7u}) EXPECT_EQ(4u, UTF8BoundaryCut(emoji, limit)) << limit;
  EXPECT_EQ(8u, UTF8BoundaryCut(emoji, 8));
  EXPECT_EQ(0u, UTF8BoundaryCut(emoji, 3));
}
