#pragma once
// File locations and data-fork access of the platform's file manager.
//
// A location in its 70-byte form (FSSpec: volume, parent directory id, name of
// at most 63 bytes) is resolved through the directories this process has seen:
// every directory met in a path gets a directory id the first time, kept in a
// process-wide registry for the life of the process. There is one volume. A
// location whose directory id was never handed out, or whose name is empty,
// cannot be resolved and is reported as a missing file.
//
// An FSRef names any file or directory by its full path, so it also reaches
// names too long for an FSSpec.

#include <string>

#include "carbon/MacTypes.h"

// The single volume of this file system.
enum { kZPXVolumeRefNum = -100 };
enum { fsRtParID = 1, fsRtDirID = 2 };

// Access permissions for opening a data fork.
enum { fsCurPerm = 0, fsRdPerm = 1, fsWrPerm = 2, fsRdWrPerm = 3 };

// parID sits at offset 2: copy it before binding it to a reference
// (`SInt32(location.parID)`), a reference to it would be misaligned.
#pragma pack(push, 2)
struct FSSpec {
  SInt16 vRefNum;
  SInt32 parID;
  Str63 name;
};
#pragma pack(pop)
static_assert(sizeof(FSSpec) == 70, "an FSSpec is stored as its 70-byte platform form");

struct FSRef {
  UInt8 hidden[80];
};
static_assert(sizeof(FSRef) == 80, "an FSRef has the platform's size");

typedef UInt32 FSCatalogInfoBitmap;
enum {
  kFSCatInfoNone = 0,
  kFSCatInfoVolume = 0x00000002,
  kFSCatInfoParentDirID = 0x00000004,
  kFSCatInfoNodeFlags = 0x00000010,
  kFSCatInfoDataSizes = 0x00004000,
};
enum { kFSNodeIsDirectoryMask = 0x0010 };

// A file name as the platform's catalog gives it (not filled by this stand-in).
struct HFSUniStr255 {
  UInt16 length;
  UniChar unicode[255];
};

// The subset of catalog information this stand-in fills.
struct FSCatalogInfo {
  UInt16 nodeFlags;
  SInt16 volume;
  UInt32 parentDirID;
  UInt64 dataLogicalSize;
};

// dirID 0 is the current directory. The location is filled (and fnfErr returned)
// when the directory exists but the file does not.
OSErr FSMakeFSSpec(SInt16 vRefNum, SInt32 dirID, ConstStr255Param fileName, FSSpec* location);
OSErr FSpOpenDF(const FSSpec* location, SInt8 permission, SInt16* refNum);
// Creates an empty file (dupFNErr when it exists). Linux files carry no type
// or creator; those arguments are not kept.
OSErr FSpCreate(const FSSpec* location, OSType creator, OSType fileType, ScriptCode scriptTag);

OSErr FSPathMakeRef(const UInt8* path, FSRef* ref, Boolean* isDirectory);
// outName must be null (paramErr otherwise). A name too long for an FSSpec
// leaves fsSpec's name empty and returns bdNamErr after filling the rest.
OSErr FSGetCatalogInfo(const FSRef* ref, FSCatalogInfoBitmap whichInfo, FSCatalogInfo* catalogInfo,
                       HFSUniStr255* outName, FSSpec* fsSpec, FSRef* parentRef);
OSErr FSRefMakePath(const FSRef* ref, UInt8* path, UInt32 maxPathSize);
// Only the data fork (an empty fork name) exists here.
OSErr FSOpenFork(const FSRef* ref, UniCharCount forkNameLength, const UniChar* forkName,
                 SInt8 permissions, SInt16* forkRefNum);

// Reads up to *count bytes; *count becomes what was read; eofErr when fewer
// bytes were available.
OSErr FSRead(SInt16 refNum, SInt32* count, void* buffer);
OSErr FSWrite(SInt16 refNum, SInt32* count, const void* buffer);
OSErr FSClose(SInt16 refNum);

// Bridges of this stand-in between the platform forms and POSIX paths.
// FSSpecFromPOSIXPath fills the volume and directory of the path's parent
// (registering it) and the name, and, when `fullPath` is given, the absolute
// path with the parent resolved. A name longer than 63 bytes leaves the
// location's name empty and returns bdNamErr; a missing file gives fnfErr (the
// location is filled); a missing parent directory gives dirNFErr.
OSErr FSSpecFromPOSIXPath(const char* path, FSSpec* location, std::string* fullPath = nullptr);
// The absolute path of a location; fnfErr when it cannot be resolved.
OSErr POSIXPathFromFSSpec(const FSSpec& location, std::string* path);
