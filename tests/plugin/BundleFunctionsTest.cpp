// The plug-in's identity strings, its bundle cache and its fresh file names.
#include <gtest/gtest.h>

#include <cstring>
#include <regex>
#include <string>

#include "cf/CFRef.h"
#include "plugin/BundleFunctions.h"
#include "support/FileURL.h"
#include "support/PlatformString.h"
#include "support/TempFolder.h"

namespace {

// A bundle folder whose Info.plist gives the identifier.
std::string WriteBundle(const TempFolder& folder, const std::string& name, const std::string& id) {
  folder.Write(name + "/Contents/Info.plist",
               "<plist version=\"1.0\"><dict><key>CFBundleIdentifier</key><string>" + id +
                   "</string></dict></plist>");
  return folder.Path() + "/" + name;
}

const std::string kUUID = "[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}";

}  // namespace

TEST(BundleFunctions, IdentityStrings) {
  const std::string id = TextOf(GetBundleID());
  EXPECT_TRUE(std::regex_match(id, std::regex("com\\.zpx\\.print\\.pde\\." + kUUID + "\\.PInf")))
      << id;
  OSType creator = 0;
  GetCreatorID(creator);
  EXPECT_EQ(FourCC("ZPX2"), creator);
  EXPECT_EQ("PDEProject", TakeText(CreateNIBFileName()));
  EXPECT_EQ("ZPX.PSData." + id, TakeText(CreatePostscriptDataFileKey()));
  EXPECT_EQ(id + ".Printer", TakeText(CreateClientIdentifier(CFSTR(".Printer"))));
  EXPECT_EQ(id, TakeText(CreateClientIdentifier(nullptr)));

  // The assembled bundle carries the same identifier.
  CFRef<CFBundleRef> built(CreateBundleAt(ZPX_BUILT_BUNDLE));
  ASSERT_TRUE(built);
  EXPECT_EQ(id, TextOf(CFBundleGetIdentifier(built.get())));
  EXPECT_EQ(built.get(), GetBundleRef());
}

TEST(BundleFunctions, MyGetBundleKeepsTheFirstBundleUntilFreed) {
  TempFolder folder;
  CFRef<CFBundleRef> first(
      CreateBundleAt(WriteBundle(folder, "First.plugin", "com.example.first")));
  CFRef<CFBundleRef> second(
      CreateBundleAt(WriteBundle(folder, "Second.plugin", "com.example.second")));
  ASSERT_TRUE(first && second);

  MyFreeBundle(nullptr);
  EXPECT_EQ(nullptr, MyGetBundle(CFSTR("com.example.none")));  // nothing found: still empty
  EXPECT_EQ(first.get(), MyGetBundle(CFSTR("com.example.first")));
  EXPECT_EQ(first.get(), MyGetBundle(CFSTR("com.example.second")));
  // The cache holds its own reference: the bundle outlives ours.
  CFBundleRef kept = first.release();
  CFRelease(kept);
  EXPECT_EQ(kept, CFBundleGetBundleWithIdentifier(CFSTR("com.example.first")));

  // The Contents folder of the cached bundle, whatever key is given.
  CFRef<CFURLRef> contents(CreatePDEContentsURL(CFSTR("ZPX.PSData.key")));
  EXPECT_EQ(folder.Path() + "/First.plugin/Contents",
            TakeText(CFURLCopyFileSystemPath(contents.get(), kCFURLPOSIXPathStyle)));

  MyFreeBundle(CFSTR("com.example.first"));
  EXPECT_EQ(nullptr, CFBundleGetBundleWithIdentifier(CFSTR("com.example.first")));
  EXPECT_EQ(second.get(), MyGetBundle(CFSTR("com.example.second")));
  MyFreeBundle(nullptr);
}

TEST(BundleFunctions, RandomFileNamesAreFreshAndCutOnACharacter) {
  char buffer[kRandomFileNameSize];
  std::memset(buffer, 'x', sizeof buffer);
  std::string one = TakeText(CreateRandomFileName(CFSTR("/tmp/Nimbo.temp"), buffer));
  EXPECT_TRUE(std::regex_match(one, std::regex("/tmp/Nimbo\\.temp" + kUUID))) << one;
  EXPECT_EQ(one, buffer);
  std::string two = TakeText(CreateRandomFileName(nullptr, nullptr));
  EXPECT_TRUE(std::regex_match(two, std::regex(kUUID))) << two;
  EXPECT_EQ(std::string::npos, one.find(two));

  // "//" and 127 two-byte characters take 256 bytes: the last character would
  // straddle the 255th byte, so it is left out whole, never split.
  std::string kept = "//";
  for (int i = 0; i < 126; ++i) kept += "\xC3\xA9";
  CFRef<CFStringRef> longPrefix(CreateText(kept + "\xC3\xA9"));
  std::memset(buffer, 'x', sizeof buffer);
  std::string whole = TakeText(CreateRandomFileName(longPrefix.get(), buffer));
  EXPECT_EQ(kept.size() + 2 + 36, whole.size());
  EXPECT_EQ(kept, buffer);
  EXPECT_EQ(254u, kept.size());
  EXPECT_EQ('x', buffer[kRandomFileNameSize - 1]);
}

TEST(BundleFunctions, PrinterSettingsKeysPutTheMakeAndModelBeforeEachPInf) {
  auto key = [](const char* identifier, const char* model) {
    CFRef<CFStringRef> id(CreateText(identifier));
    CFRef<CFStringRef> makeAndModel(CreateText(model));
    return TakeText(CreatePrinterSettingsKey(id.get(), makeAndModel.get()));
  };
  EXPECT_EQ(key("com.zpx.print.pde.ABC.PInf", "ZPX Production 9000"),
            "com.zpx.print.pde.ABC.ZPX_Production_9000.PInf");
  // Without ".PInf" only the spaces change.
  EXPECT_EQ(key("com.zpx.my bundle", "ZPX 9000"), "com.zpx.my_bundle");
  EXPECT_EQ(key("a.PInf.PInf", "M"), "a.M.PInf.M.PInf");
  EXPECT_EQ(key("a.PInf", ""), "a..PInf");
}
