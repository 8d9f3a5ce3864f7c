#include "foundation/FileMac.h"

#include <climits>
#include <cstring>

#include "carbon/MacErrors.h"

namespace {

const size_t kNameBytes = 63;

std::string PathOf(const FSSpec& location) {
  std::string path;
  return POSIXPathFromFSSpec(location, &path) == noErr ? path : std::string();
}

}  // namespace

FileMac::FileMac() { std::memset(&mSpec, 0, sizeof mSpec); }

FileMac::FileMac(short vRefNum, long dirID, ConstStr255Param name) : FileMac() {
  FSSpec location;
  OSErr error = FSMakeFSSpec(vRefNum, static_cast<SInt32>(dirID), name, &location);
  // A location in an existing directory is kept even when the file is not
  // there yet (it may be created).
  if (error == noErr || error == fnfErr) SetLocation(location, PathOf(location));
  Result(error);
}

FileMac::FileMac(const FSSpec& location) : FileMac() { SetLocation(location, PathOf(location)); }

FileMac::FileMac(const char* path) : FileMac() {
  if (path == nullptr || *path == '\0') {
    Result(paramErr);
    return;
  }
  FSSpec location;
  std::string fullPath;
  OSErr error = FSSpecFromPOSIXPath(path, &location, &fullPath);
  // Without its directory the path stays empty and the file invalid.
  SetLocation(location, fullPath);
  Result(error);
}

FileMac::~FileMac() {
  if (mDataForkOpen) FSClose(mDataRefNum);
}

void FileMac::SetLocation(const FSSpec& location, const std::string& path) {
  mSpec = location;
  mPath = path;
}

OSErr FileMac::MakeRef(FSRef* ref, Boolean* isDirectory) {
  if (mPath.empty()) return fnfErr;
  return FSPathMakeRef(reinterpret_cast<const UInt8*>(mPath.c_str()), ref, isDirectory);
}

OSErr FileMac::getFileInfo(FSSpec* location) {
  if (location == nullptr) return Result(paramErr);
  *location = mSpec;
  return Result(noErr);
}

OSErr FileMac::getFileInfo(short* vRefNum, long* dirID, char* name) {
  if (vRefNum == nullptr || dirID == nullptr || name == nullptr) return Result(paramErr);
  *vRefNum = mSpec.vRefNum;
  *dirID = mSpec.parID;
  std::memcpy(name, mSpec.name + 1, mSpec.name[0]);
  name[mSpec.name[0]] = '\0';
  return Result(noErr);
}

OSErr FileMac::getFileInfo() {
  FSRef ref;
  Boolean isDirectory = false;
  OSErr error = MakeRef(&ref, &isDirectory);
  return Result(error == noErr && isDirectory ? OSErr(notAFileErr) : error);
}

OSErr FileMac::getFileName(char* name) {
  if (name == nullptr) return Result(paramErr);
  const char* slash = std::strrchr(mPath.c_str(), '/');
  const char* leaf = slash != nullptr ? slash + 1 : "";
  size_t length = std::strlen(leaf);
  size_t kept = length > kNameBytes ? kNameBytes : length;
  std::memcpy(name, leaf, kept);
  name[kept] = '\0';
  return Result(kept < length ? OSErr(bdNamErr) : OSErr(noErr));
}

bool FileMac::exists() { return getFileInfo() == noErr; }

OSErr FileMac::openDataFork(char permission) {
  if (mDataForkOpen) return Result(noErr);
  FSRef ref;
  OSErr error = MakeRef(&ref, nullptr);
  if (error == noErr) error = FSOpenFork(&ref, 0, nullptr, permission, &mDataRefNum);
  mDataForkOpen = error == noErr;
  if (!mDataForkOpen) mDataRefNum = -1;
  return Result(error);
}

OSErr FileMac::closeDataFork() {
  if (!mDataForkOpen) return Result(fnOpnErr);
  OSErr error = FSClose(mDataRefNum);
  mDataForkOpen = false;
  mDataRefNum = -1;
  return Result(error);
}

OSErr FileMac::createDataFork(unsigned long creator, unsigned long type) {
  if (mPath.empty()) return Result(dirNFErr);
  return Result(FSpCreate(&mSpec, static_cast<OSType>(creator), static_cast<OSType>(type), 0));
}

short FileMac::getDataForkRefNum() { return mDataRefNum; }

bool FileMac::dataForkOpen() { return mDataForkOpen; }

OSErr FileMac::dataForkWrite(char* data, unsigned long count) {
  if (!mDataForkOpen) return Result(fnOpnErr);
  if (count > static_cast<unsigned long>(INT32_MAX)) return Result(paramErr);
  SInt32 written = static_cast<SInt32>(count);
  return Result(FSWrite(mDataRefNum, &written, data));
}

OSErr FileMac::dataForkRead(char* data, unsigned long* count) {
  if (count == nullptr) return Result(paramErr);
  if (!mDataForkOpen) {
    *count = 0;
    return Result(fnOpnErr);
  }
  SInt32 wanted =
      *count > static_cast<unsigned long>(INT32_MAX) ? INT32_MAX : static_cast<SInt32>(*count);
  OSErr error = FSRead(mDataRefNum, &wanted, data);
  *count = static_cast<unsigned long>(wanted);
  return Result(error);
}

long FileMac::dataForkSize() {
  FSRef ref;
  FSCatalogInfo info;
  if (MakeRef(&ref, nullptr) != noErr ||
      FSGetCatalogInfo(&ref, kFSCatInfoDataSizes, &info, nullptr, nullptr, nullptr) != noErr)
    return 0;
  return info.dataLogicalSize > static_cast<UInt64>(LONG_MAX)
             ? LONG_MAX
             : static_cast<long>(info.dataLogicalSize);
}
