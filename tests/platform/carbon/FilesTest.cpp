#include "carbon/Files.h"

#include <gtest/gtest.h>

#include <string>

#include "carbon/MacErrors.h"
#include "support/TempFile.h"

TEST(FilesTest, SpecsResolveOnlyThroughDirectoriesSeen) {
  TempFile file("abc", "f.ppd");
  FSSpec spec;
  ASSERT_EQ(FSSpecFromPOSIXPath(file.Path(), &spec), noErr);
  EXPECT_EQ(spec.vRefNum, kZPXVolumeRefNum);
  // The same directory keeps its id.
  FSSpec again;
  FSSpecFromPOSIXPath((file.Directory() + "/other.ppd").c_str(), &again);
  EXPECT_EQ(SInt32(again.parID), SInt32(spec.parID));
  EXPECT_NE(FSSpecFromPOSIXPath("/", &again), dirNFErr);

  FSSpec made;
  EXPECT_EQ(FSMakeFSSpec(0, spec.parID, reinterpret_cast<ConstStr255Param>("\x05" "f.ppd"), &made), noErr);
  EXPECT_EQ(0, memcmp(&made, &spec, sizeof spec));
  // A missing file in a known directory is still a location.
  EXPECT_EQ(FSMakeFSSpec(0, spec.parID, reinterpret_cast<ConstStr255Param>("\x01" "g"), &made), fnfErr);
  EXPECT_EQ(SInt32(made.parID), SInt32(spec.parID));
  EXPECT_EQ(FSMakeFSSpec(0, 0x7ffffff0, reinterpret_cast<ConstStr255Param>("\x01" "g"), &made), dirNFErr);
  EXPECT_EQ(FSMakeFSSpec(0, spec.parID, reinterpret_cast<ConstStr255Param>("\x00"), &made), fnfErr);

  SInt16 refNum;
  ASSERT_EQ(FSpOpenDF(&spec, fsRdPerm, &refNum), noErr);
  char buffer[8];
  SInt32 count = 8;
  EXPECT_EQ(FSRead(refNum, &count, buffer), eofErr);
  EXPECT_EQ(count, 3);
  EXPECT_EQ(FSClose(refNum), noErr);
  EXPECT_EQ(FSClose(refNum), rfNumErr);
  count = 1;
  EXPECT_EQ(FSRead(refNum, &count, buffer), rfNumErr);
}

TEST(FilesTest, RefsReachAnyPathAndGiveTheSpec) {
  std::string longName(80, 'l');
  TempFile file("0123456789", longName);
  FSRef ref;
  Boolean isDirectory = true;
  ASSERT_EQ(FSPathMakeRef(reinterpret_cast<const UInt8*>(file.Path()), &ref, &isDirectory), noErr);
  EXPECT_FALSE(isDirectory);
  FSCatalogInfo info;
  FSSpec spec;
  EXPECT_EQ(FSGetCatalogInfo(&ref, kFSCatInfoDataSizes | kFSCatInfoParentDirID, &info, nullptr, &spec, nullptr),
            bdNamErr);
  EXPECT_EQ(info.dataLogicalSize, 10u);
  EXPECT_EQ(static_cast<SInt32>(info.parentDirID), SInt32(spec.parID));
  EXPECT_EQ(spec.name[0], 0);
  UInt8 path[1024];
  ASSERT_EQ(FSRefMakePath(&ref, path, sizeof path), noErr);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(path)).substr(std::string(reinterpret_cast<char*>(path)).size() - 80),
            longName);
  EXPECT_EQ(FSRefMakePath(&ref, path, 10), bdNamErr);

  std::string missing = file.Directory() + "/none";
  EXPECT_EQ(FSPathMakeRef(reinterpret_cast<const UInt8*>(missing.c_str()), &ref, nullptr), fnfErr);
  FSRef forged = {};
  EXPECT_EQ(FSGetCatalogInfo(&forged, kFSCatInfoNone, nullptr, nullptr, &spec, nullptr), paramErr);
}
