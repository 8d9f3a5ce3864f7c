#include "foundation/FileMac.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "cf/CFBase.h"
#include "cf/CFURL.h"

#include "carbon/MacErrors.h"
#include "foundation/PPDFile.h"
#include "support/TempFile.h"

namespace {

std::string ReadAll(FileMac& file) {
  char buffer[64] = {};
  unsigned long count = sizeof buffer;
  if (file.openDataFork(fsRdPerm) != noErr) return "<not opened>";
  file.dataForkRead(buffer, &count);
  file.closeDataFork();
  return std::string(buffer, count);
}

}  // namespace

TEST(FileMacTest, ResultCodesOfTheDataFork) {
  TempFile file("12345");
  PPDFile ppd(file.Path());
  EXPECT_EQ(ppd.closeDataFork(), fnOpnErr);
  ASSERT_EQ(ppd.openDataFork(fsRdPerm), noErr);
  EXPECT_GE(ppd.getDataForkRefNum(), 0);
  char buffer[10];
  unsigned long count = sizeof buffer;
  EXPECT_EQ(ppd.dataForkRead(buffer, &count), eofErr);
  EXPECT_EQ(count, 5u);
  EXPECT_EQ(std::string(buffer, count), "12345");
  count = sizeof buffer;
  EXPECT_EQ(ppd.dataForkRead(buffer, &count), eofErr);
  EXPECT_EQ(count, 0u);
  EXPECT_EQ(ppd.closeDataFork(), noErr);
  EXPECT_EQ(ppd.closeDataFork(), fnOpnErr);
  EXPECT_EQ(ppd.getError(), fnOpnErr);
  EXPECT_EQ(ppd.getDataForkRefNum(), -1);
  count = sizeof buffer;
  EXPECT_EQ(ppd.dataForkRead(buffer, &count), fnOpnErr);
  EXPECT_EQ(ppd.dataForkSize(), 5);
}

TEST(FileMacTest, MissingAndUnresolvableFiles) {
  TempFile file("x");
  PPDFile missing((file.Directory() + "/missing.ppd").c_str());
  EXPECT_TRUE(missing.valid());
  EXPECT_FALSE(missing.exists());
  EXPECT_EQ(missing.openDataFork(fsRdPerm), fnfErr);
  EXPECT_FALSE(missing.dataForkOpen());
  EXPECT_EQ(missing.dataForkSize(), 0);

  PPDFile noDirectory("/nonexistent-zpx-dir/a.ppd");
  EXPECT_FALSE(noDirectory.valid());
  EXPECT_EQ(noDirectory.openDataFork(fsRdPerm), fnfErr);

  FSSpec unknown = {kZPXVolumeRefNum, 0x7fff0000, "\x05" "a.ppd"};
  PPDFile unresolved(unknown);
  EXPECT_FALSE(unresolved.valid());
  EXPECT_EQ(unresolved.openDataFork(fsRdPerm), fnfErr);

  // A directory is not a file, whatever its location says.
  PPDFile directory(file.Directory().c_str());
  EXPECT_FALSE(directory.exists());
  EXPECT_NE(directory.openDataFork(fsRdPerm), noErr);
}

TEST(FileMacTest, LocationsRoundTripThroughTheSeventyByteForm) {
  TempFile file("same bytes", "Sample.ppd");
  PPDFile byPath(file.Path());
  FSSpec spec;
  ASSERT_EQ(byPath.getFileInfo(&spec), noErr);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(spec.name) + 1, spec.name[0]), "Sample.ppd");

  PPDFile bySpec(spec);
  EXPECT_EQ(ReadAll(bySpec), "same bytes");
  short vRefNum;
  long dirID;
  char name[64];
  ASSERT_EQ(byPath.getFileInfo(&vRefNum, &dirID, name), noErr);
  EXPECT_STREQ(name, "Sample.ppd");
  PPDFile byParts(vRefNum, dirID, spec.name);
  EXPECT_EQ(ReadAll(byParts), "same bytes");
  EXPECT_EQ(byParts.path(), byPath.path());
}

TEST(FileMacTest, NamesTooLongForTheSeventyByteFormStillOpen) {
  std::string longName = std::string(100, 'n') + ".ppd";
  TempFile file("long", longName);
  PPDFile ppd(file.Path());
  EXPECT_TRUE(ppd.exists());
  EXPECT_EQ(ReadAll(ppd), "long");
  FSSpec spec;
  ppd.getFileInfo(&spec);
  EXPECT_EQ(spec.name[0], 0);
  char name[64];
  EXPECT_EQ(ppd.getFileName(name), bdNamErr);
  EXPECT_EQ(std::string(name), longName.substr(0, 63));
  // Its 70-byte form names no file.
  EXPECT_FALSE(PPDFile(spec).exists());
}

TEST(FileMacTest, FileURLs) {
  std::string longName = std::string(70, 'u') + ".ppd";
  TempFile file("by url", longName);
  CFURLRef url = CFURLCreateFromFileSystemRepresentation(
      nullptr, reinterpret_cast<const UInt8*>(file.Path()), static_cast<CFIndex>(std::strlen(file.Path())), false);
  ASSERT_NE(url, nullptr);
  PPDFile byURL(url);
  CFRelease(url);
  EXPECT_EQ(ReadAll(byURL), "by url");
  EXPECT_EQ(byURL.path(), PPDFile(file.Path()).path());

  std::string missing = file.Directory() + "/missing.ppd";
  url = CFURLCreateFromFileSystemRepresentation(nullptr, reinterpret_cast<const UInt8*>(missing.c_str()),
                                                static_cast<CFIndex>(missing.size()), false);
  PPDFile unresolved(url);
  CFRelease(url);
  EXPECT_FALSE(unresolved.valid());
  EXPECT_EQ(unresolved.openDataFork(fsRdPerm), fnfErr);
}

TEST(FileMacTest, CreatesAndWritesTheDataFork) {
  TempFile directory("");
  std::string path = directory.Directory() + "/written.ppd";
  PPDFile file(path.c_str());
  ASSERT_EQ(file.createDataFork(FourCC("ZPXa"), FourCC("TEXT")), noErr);
  EXPECT_EQ(file.createDataFork(0, 0), dupFNErr);
  ASSERT_EQ(file.openDataFork(fsRdWrPerm), noErr);
  char text[] = "written";
  EXPECT_EQ(file.dataForkWrite(text, 7), noErr);
  file.closeDataFork();
  EXPECT_EQ(ReadAll(file), "written");
  unlink(path.c_str());
}
