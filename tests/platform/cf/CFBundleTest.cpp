// Bundles found by folder and identifier, their information dictionary, their
// string tables in UTF-8 and UTF-16, and plug-in instance counts.
#include <gtest/gtest.h>

#include <string>

#include "cf/CFRef.h"
#include "cf/CFStringsTable.h"
#include "cf/CoreFoundation.h"
#include "support/FileURL.h"
#include "support/PlatformString.h"
#include "support/TempFolder.h"

namespace {

const std::string kInfo =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>"
    "<key>CFBundleIdentifier</key><string>com.example.test.bundle</string>"
    "<key>CFBundleExecutable</key><string>libtest.so</string>"
    "<key>CFBundleDevelopmentRegion</key><string>fr</string>"
    "<key>Answer</key><integer>42</integer>"
    "</dict></plist>";

// UTF-16 with a byte-order mark, in either byte order.
std::string UTF16(const std::u16string& text, bool bigEndian) {
  std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (char16_t unit : text) {
    char high = char(unit >> 8), low = char(unit & 0xFF);
    bytes += bigEndian ? std::string{high, low} : std::string{low, high};
  }
  return bytes;
}

std::string Localized(CFBundleRef bundle, const char* key, CFStringRef table,
                      CFStringRef value = nullptr) {
  CFRef<CFStringRef> keyText(CreateText(key));
  return TakeText(CFBundleCopyLocalizedString(bundle, keyText.get(), value, table));
}

bool ParsesAsTable(const std::string& bytes, CFStringsTable& table) {
  return table.Parse(reinterpret_cast<const UInt8*>(bytes.data()), bytes.size());
}

}  // namespace

TEST(CFBundle, FoundByFolderAndIdentifierWhileAlive) {
  TempFolder folder;
  folder.Write("Test.plugin/Contents/Info.plist", kInfo);
  std::string path = folder.Path() + "/Test.plugin";
  CFBundleRef bundle = CreateBundleAt(path);
  ASSERT_NE(bundle, nullptr);
  CFBundleRef again = CreateBundleAt(path + "/");
  EXPECT_EQ(bundle, again);
  CFRelease(again);

  EXPECT_EQ(bundle, CFBundleGetBundleWithIdentifier(CFSTR("com.example.test.bundle")));
  EXPECT_EQ(nullptr, CFBundleGetBundleWithIdentifier(CFSTR("com.example.other")));
  EXPECT_EQ("com.example.test.bundle", TextOf(CFBundleGetIdentifier(bundle)));
  CFTypeRef answer = CFBundleGetValueForInfoDictionaryKey(bundle, CFSTR("Answer"));
  ASSERT_NE(answer, nullptr);
  SInt32 number = 0;
  CFNumberGetValue(static_cast<CFNumberRef>(answer), kCFNumberSInt32Type, &number);
  EXPECT_EQ(42, number);

  CFRef<CFURLRef> bundleURL(CFBundleCopyBundleURL(bundle));
  EXPECT_EQ(path, TakeText(CFURLCopyFileSystemPath(bundleURL.get(), kCFURLPOSIXPathStyle)));
  CFRef<CFURLRef> executable(CFBundleCopyExecutableURL(bundle));
  EXPECT_EQ(path + "/Contents/MacOS/libtest.so",
            TakeText(CFURLCopyFileSystemPath(executable.get(), kCFURLPOSIXPathStyle)));

  // A copy made later answers only once the first is gone, even where its
  // folder's path sorts first.
  folder.Write("A.plugin/Contents/Info.plist", kInfo);
  CFBundleRef copy = CreateBundleAt(folder.Path() + "/A.plugin");
  EXPECT_EQ(bundle, CFBundleGetBundleWithIdentifier(CFSTR("com.example.test.bundle")));
  CFRelease(bundle);
  EXPECT_EQ(copy, CFBundleGetBundleWithIdentifier(CFSTR("com.example.test.bundle")));
  CFRelease(copy);
  EXPECT_EQ(nullptr, CFBundleGetBundleWithIdentifier(CFSTR("com.example.test.bundle")));

  // No folder, or an information file that is no dictionary: no bundle.
  EXPECT_EQ(nullptr, CreateBundleAt(folder.Path() + "/Missing.plugin"));
  folder.Write("Bad.plugin/Contents/Info.plist", "<plist><array/></plist>");
  EXPECT_EQ(nullptr, CreateBundleAt(folder.Path() + "/Bad.plugin"));
}

TEST(CFBundle, LocalizedStringsInEveryEncodingWithFallbacks) {
  TempFolder folder;
  folder.Write("Test.plugin/Contents/Info.plist", kInfo);
  const std::string resources = "Test.plugin/Contents/Resources/fr.lproj/";
  folder.Write(
      resources + "Localizable.strings",
      "\xEF\xBB\xBF/* title */\n\"Title\" = \"Options \xC3\xA9tendues\";\n"
      "// a line comment\n\"Quote\" = \"say \\\"hi\\\"\\n\\U00E9\"; Plain = word;\n\"Self\";\n");
  folder.Write(resources + "Little.strings", UTF16(u"\"OK\" = \"D\u2019accord\";", false));
  folder.Write(resources + "Big.strings", UTF16(u"\"OK\" = \"Tr\u00E8s bien\";", true));
  folder.Write(resources + "Broken.strings", "\"OK\" = \"Fine\";\n\"Next\" = \"unclosed;\n");
  CFRef<CFBundleRef> bundle(CreateBundleAt(folder.Path() + "/Test.plugin"));
  ASSERT_TRUE(bundle);

  EXPECT_EQ("Options \xC3\xA9tendues", Localized(bundle.get(), "Title", nullptr));
  EXPECT_EQ("say \"hi\"\n\xC3\xA9", Localized(bundle.get(), "Quote", CFSTR("Localizable")));
  EXPECT_EQ("word", Localized(bundle.get(), "Plain", nullptr));
  EXPECT_EQ("Self", Localized(bundle.get(), "Self", nullptr, CFSTR("fallback")));
  EXPECT_EQ(
      "D\xE2\x80\x99"
      "accord",
      Localized(bundle.get(), "OK", CFSTR("Little")));
  EXPECT_EQ("Tr\xC3\xA8s bien", Localized(bundle.get(), "OK", CFSTR("Big")));

  // A missing key or table gives the value, or the key without one; a
  // malformed table is no table at all.
  EXPECT_EQ("fallback", Localized(bundle.get(), "Missing", nullptr, CFSTR("fallback")));
  EXPECT_EQ("Missing", Localized(bundle.get(), "Missing", nullptr, CFSTR("")));
  EXPECT_EQ("OK", Localized(bundle.get(), "OK", CFSTR("NoSuchTable")));
  EXPECT_EQ("OK", Localized(bundle.get(), "OK", CFSTR("Broken")));
  EXPECT_EQ("OK", Localized(bundle.get(), "OK", CFSTR("../fr.lproj/Little")));
}

TEST(CFStringsTable, MalformedTablesAreRefusedWhole) {
  CFStringsTable table;
  EXPECT_TRUE(ParsesAsTable("\"a\" = \"1\"; \"b\" = \"2\";", table));
  EXPECT_EQ(2, table.Count());
  EXPECT_EQ("1", TextOf(table.Find(CFSTR("a"))));
  EXPECT_TRUE(ParsesAsTable("", table));
  EXPECT_EQ(0, table.Count());

  for (const char* broken :
       {"\"a\" = \"1\"", "\"a\" \"1\";", "\"a\" = ;", "/* open", "\"a\" = \"\\U12G4\";",
        "\"a\" = \"\\U12", "= \"1\";", "\"a\" = \"1\";;", "\"a\" = \"1\"; \xFF"}) {
    EXPECT_TRUE(ParsesAsTable("\"ok\" = \"1\";", table));
    EXPECT_FALSE(ParsesAsTable(broken, table)) << broken;
    EXPECT_EQ(0, table.Count()) << broken;
    EXPECT_EQ(nullptr, table.Find(CFSTR("ok")));
  }
  // UTF-16 with an odd byte count, and a table beyond the size bound.
  EXPECT_FALSE(ParsesAsTable(UTF16(u"\"a\" = \"b\";", false) + "x", table));
  std::string huge = "\"k\" = \"" + std::string(CFStringsTable::kMaximumSize, 'v') + "\";";
  EXPECT_FALSE(ParsesAsTable(huge, table));
}

TEST(CFPlugIn, InstancesAreCountedPerFactory) {
  CFUUIDRef factory = CFUUIDGetConstantUUIDWithBytes(nullptr, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12,
                                                     13, 14, 15, 16);
  CFUUIDRef other = CFUUIDGetConstantUUIDWithBytes(nullptr, 16, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12,
                                                   13, 14, 15, 1);
  EXPECT_EQ(0, CFPlugInGetInstanceCountForFactory(factory));
  CFPlugInAddInstanceForFactory(factory);
  CFPlugInAddInstanceForFactory(factory);
  CFPlugInAddInstanceForFactory(other);
  EXPECT_EQ(2, CFPlugInGetInstanceCountForFactory(factory));
  CFPlugInRemoveInstanceForFactory(factory);
  CFPlugInRemoveInstanceForFactory(factory);
  CFPlugInRemoveInstanceForFactory(factory);  // no instance left: ignored
  EXPECT_EQ(0, CFPlugInGetInstanceCountForFactory(factory));
  EXPECT_EQ(1, CFPlugInGetInstanceCountForFactory(other));
  CFPlugInRemoveInstanceForFactory(other);
}

TEST(CFURL, DeviceURIsKeepTheirScheme) {
  CFRef<CFURLRef> usb(CFURLCreateWithString(nullptr, CFSTR("usb://ZPX/9000?serial=1"), nullptr));
  EXPECT_EQ("usb", TakeText(CFURLCopyScheme(usb.get())));
  CFRef<CFURLRef> bare(CFURLCreateWithString(nullptr, CFSTR("ZPX9000"), nullptr));
  ASSERT_TRUE(bare);
  EXPECT_EQ(nullptr, CFURLCopyScheme(bare.get()));
  EXPECT_EQ(nullptr, CFURLCreateWithString(nullptr, CFSTR("two words"), nullptr));
  EXPECT_EQ(nullptr, CFURLCreateWithString(nullptr, CFSTR(""), nullptr));
}
