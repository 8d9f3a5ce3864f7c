#include "foundation/FileMac.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <memory>
#include <string>

#include "carbon/MacErrors.h"
#include "cf/CFBase.h"
#include "cf/CFURL.h"
#include "foundation/PPDFile.h"
#include "support/FileURL.h"
#include "support/TempFile.h"

namespace {

std::string ReadDataFork(FileMac& file) {
  char buffer[64] = {};
  unsigned long count = sizeof buffer;
  if (file.openDataFork(fsRdPerm) != noErr) return "<not opened>";
  file.dataForkRead(buffer, &count);
  file.closeDataFork();
  return std::string(buffer, count);
}

std::unique_ptr<PPDFile> FromURL(const std::string& path) {
  CFURLRef url = CreateFileURL(path);
  std::unique_ptr<PPDFile> file(new PPDFile(url));
  CFRelease(url);
  return file;
}

}  // namespace

TEST(FileMacTest, ResultCodesOfTheDataFork) {
  TempFile file("12345");
  PPDFile ppd(file.Path());
  EXPECT_EQ(ppd.closeDataFork(), fnOpnErr);
  ASSERT_EQ(ppd.openDataFork(fsRdPerm), noErr);
  char buffer[10];
  unsigned long count = 3;
  EXPECT_EQ(ppd.dataForkRead(buffer, &count), noErr);
  count = sizeof buffer;
  EXPECT_EQ(ppd.dataForkRead(buffer, &count), eofErr);
  EXPECT_EQ(std::string(buffer, count), "45");
  EXPECT_EQ(ppd.closeDataFork(), noErr);
  EXPECT_EQ(ppd.closeDataFork(), fnOpnErr);
  EXPECT_EQ(ppd.getError(), fnOpnErr);
  EXPECT_EQ(ppd.dataForkRead(buffer, &count), fnOpnErr);
  EXPECT_EQ(ppd.dataForkSize(), 5);
}

TEST(FileMacTest, MissingAndUnresolvableFiles) {
  TempFile file("x");
  PPDFile missing((file.Directory() + "/missing.ppd").c_str());
  FSSpec location;
  missing.getFileInfo(&location);
  PPDFile sameDirectory(kZPXVolumeRefNum, location.parID,
                        reinterpret_cast<ConstStr255Param>("\x01"
                                                           "m"));
  for (PPDFile* absent : {&missing, &sameDirectory}) {
    EXPECT_TRUE(absent->valid());
    EXPECT_FALSE(absent->exists());
    EXPECT_EQ(absent->openDataFork(fsRdPerm), fnfErr);
    EXPECT_EQ(absent->dataForkSize(), 0);
  }
  FSSpec unknownDirectory = {kZPXVolumeRefNum, 0x7fff0000,
                             "\x05"
                             "a.ppd"};
  PPDFile noDirectory("/nonexistent-zpx-dir/a.ppd");
  PPDFile unknown(unknownDirectory);
  std::unique_ptr<PPDFile> missingURL = FromURL(file.Directory() + "/missing.ppd");
  for (PPDFile* unresolved : {&noDirectory, &unknown, missingURL.get()}) {
    EXPECT_FALSE(unresolved->valid());
    EXPECT_EQ(unresolved->openDataFork(fsRdPerm), fnfErr);
  }
  // A directory is not a file, nor is a FIFO, which must not wait for a writer.
  PPDFile directory(file.Directory().c_str());
  EXPECT_FALSE(directory.exists());
  EXPECT_NE(directory.openDataFork(fsRdPerm), noErr);
  const std::string fifo = file.Directory() + "/fifo";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  PPDFile pipe(fifo.c_str());
  EXPECT_EQ(pipe.openDataFork(fsRdPerm), notAFileErr);
  unlink(fifo.c_str());
}

TEST(FileMacTest, EveryFormOfALocationOpensTheSameFile) {
  TempFile file("same bytes", "Sample.ppd");
  PPDFile byPath(file.Path());
  FSSpec location;
  ASSERT_EQ(byPath.getFileInfo(&location), noErr);
  short vRefNum;
  long dirID;
  char name[64];
  ASSERT_EQ(byPath.getFileInfo(&vRefNum, &dirID, name), noErr);
  EXPECT_STREQ(name, "Sample.ppd");
  PPDFile bySpec(location);
  PPDFile byParts(vRefNum, dirID, location.name);
  std::unique_ptr<PPDFile> byURL = FromURL(file.Path());
  for (PPDFile* other : {&bySpec, &byParts, byURL.get()}) {
    EXPECT_EQ(ReadDataFork(*other), "same bytes");
    EXPECT_EQ(other->path(), byPath.path());
  }
}

TEST(FileMacTest, NamesTooLongForTheSeventyByteFormStillOpen) {
  std::string longName = std::string(100, 'n') + ".ppd";
  TempFile file("long", longName);
  PPDFile byPath(file.Path());
  EXPECT_EQ(ReadDataFork(byPath), "long");
  EXPECT_EQ(ReadDataFork(*FromURL(file.Path())), "long");
  FSSpec location;
  byPath.getFileInfo(&location);
  EXPECT_EQ(location.name[0], 0);
  EXPECT_FALSE(PPDFile(location).exists());
  char name[64];
  EXPECT_EQ(byPath.getFileName(name), bdNamErr);
  EXPECT_EQ(std::string(name), longName.substr(0, 63));
}

TEST(FileMacTest, CreatesAndWritesTheDataFork) {
  TempFile existing("");
  PPDFile file((existing.Directory() + "/written.ppd").c_str());
  ASSERT_EQ(file.createDataFork(FourCC("ZPXa"), FourCC("TEXT")), noErr);
  EXPECT_EQ(file.createDataFork(0, 0), dupFNErr);
  ASSERT_EQ(file.openDataFork(fsRdWrPerm), noErr);
  char text[] = "written";
  EXPECT_EQ(file.dataForkWrite(text, 7), noErr);
  file.closeDataFork();
  EXPECT_EQ(ReadDataFork(file), "written");
  unlink(file.path().c_str());
}
