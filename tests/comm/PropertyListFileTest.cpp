#include "comm/PropertyListFile.h"

#include <gtest/gtest.h>

#include <string>

#include "comm/PreferencesHome.h"
#include "comm/PrinterListFile.h"
#include "support/FileURL.h"
#include "support/PlatformString.h"

namespace {

CFIndex CountOf(CFPropertyListRef list) {
  return list != nullptr && CFGetTypeID(list) == CFArrayGetTypeID()
             ? CFArrayGetCount(static_cast<CFArrayRef>(list))
             : -1;
}

}  // namespace

TEST(PropertyListFile, PathIsTakenBelowTheHomeFolder) {
  PreferencesHome home;
  home.Write("Library/list.plist", PlistArray({"<string>a</string>", "<true/>"}));
  PropertyListFile file("/Library/list.plist", true, kCFPropertyListImmutable);
  EXPECT_TRUE(file.IsValid());
  EXPECT_TRUE(file.GetFlag());
  EXPECT_EQ(CountOf(file.GetPropertyList()), 2);
  EXPECT_EQ(file.GetLastError(), 0);

  // A missing file is still a valid object, so that its first Save makes it.
  PropertyListFile missing("/Library/new.plist", false, kCFPropertyListImmutable);
  EXPECT_TRUE(missing.IsValid());
  EXPECT_EQ(missing.GetPropertyList(), nullptr);
  EXPECT_EQ(missing.GetLastError(), kCFURLResourceNotFoundError);
  ASSERT_TRUE(missing.Save(file.GetPropertyList()));
  EXPECT_EQ(missing.GetLastError(), 0);
  PropertyListFile reread("Library/new.plist", false, kCFPropertyListImmutable);
  EXPECT_TRUE(CFEqual(reread.GetPropertyList(), file.GetPropertyList()));

  // A list that XML cannot hold is not written: -108, and the file stays.
  CFRef<CFStringRef> withNul(CFStringCreateWithBytes(
      nullptr, reinterpret_cast<const UInt8*>("a\0b"), 3, kCFStringEncodingUTF8, false));
  EXPECT_FALSE(missing.Save(withNul.get()));
  EXPECT_EQ(missing.GetLastError(), -108);
  PropertyListFile unchanged("/Library/new.plist", false, kCFPropertyListImmutable);
  EXPECT_EQ(CountOf(unchanged.GetPropertyList()), 2);

  // Bytes that are no property list are read, but give no list.
  home.Write("Library/junk.plist", "not a list");
  PropertyListFile junk("/Library/junk.plist", false, kCFPropertyListImmutable);
  EXPECT_EQ(junk.GetPropertyList(), nullptr);
  EXPECT_EQ(junk.GetLastError(), 0);
  CFRef<CFURLRef> junkURL(CreateFileURL(home.Folder() + "/Library/junk.plist"));
  EXPECT_TRUE(junk.CreatePropertyListFromFile(junkURL.get(), kCFPropertyListImmutable));
}

TEST(PropertyListFile, NoHomeFolderMeansNoFile) {
  PlatformPaths::Redirect(PlatformPaths::kHomeFolder, "");
  PropertyListFile file("/Library/list.plist", false, kCFPropertyListImmutable);
  PlatformPaths::Reset(PlatformPaths::kHomeFolder);
  EXPECT_TRUE(file.IsValid());
  EXPECT_EQ(file.GetURL(), nullptr);
  CFRef<CFMutableArrayRef> empty(CFArrayCreateMutable(nullptr, 0, &kCFTypeArrayCallBacks));
  EXPECT_FALSE(file.Save(empty.get()));
}

TEST(PropertyListFile, FolderAndNameOrURL) {
  CFRef<CFURLRef> contents(CreateFileURL(ZPX_FIXTURES "/comm/Contents"));
  PropertyListFile byName(contents.get(), CFSTR("PrinterList.plist"), false,
                          kCFPropertyListImmutable);
  EXPECT_TRUE(byName.IsValid());
  ASSERT_NE(byName.GetPropertyList(), nullptr);
  PropertyListFile byURL(byName.GetURL(), false, kCFPropertyListMutableContainers);
  EXPECT_TRUE(byURL.IsValid());
  EXPECT_TRUE(CFEqual(byURL.GetPropertyList(), byName.GetPropertyList()));
}

TEST(PrinterListFile, TheListOfSupportedFileNames) {
  CFRef<CFURLRef> contents(CreateFileURL(ZPX_FIXTURES "/comm/Contents"));
  PrinterListFile list(contents.get(), kCFPropertyListImmutable);
  ASSERT_TRUE(list.IsValid());
  ASSERT_NE(list.GetFileNames(), nullptr);
  EXPECT_EQ(CFArrayGetCount(list.GetFileNames()), 2);
  EXPECT_TRUE(CFArrayContainsValue(list.GetFileNames(), CFRangeMake(0, 2), CFSTR("ZPXSMPL.PPD")));

  PreferencesHome home;
  CFRef<CFURLRef> empty(CreateFileURL(home.Folder()));
  PrinterListFile missing(empty.get(), kCFPropertyListImmutable);
  EXPECT_FALSE(missing.IsValid());
  EXPECT_EQ(missing.GetFileNames(), nullptr);

  const char* const wrongShapes[] = {
      "<plist><dict><key>PCFILENAME</key><string>ZPXSMPL.PPD</string></dict></plist>",
      "<plist><dict><key>pcfilename</key><array><string>ZPXSMPL.PPD</string></array></dict></"
      "plist>",
      "<plist><array><string>PCFILENAME</string></array></plist>",
      "<plist><dict><key>PCFILENAME</key><array>",
  };
  for (const char* text : wrongShapes) {
    home.Write("PrinterList.plist", text);
    PrinterListFile wrong(empty.get(), kCFPropertyListImmutable);
    EXPECT_FALSE(wrong.IsValid()) << text;
  }
}
