#include "carbon/Files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <map>
#include <vector>

#include "carbon/MacErrors.h"
#include "ipc/WriteAll.h"

namespace {

const UInt32 kRefMagic = FourCC("ZPXr");
const size_t kMaxSpecName = 63;

// Everything this process has seen: directory ids, the paths FSRefs name and
// the open files behind reference numbers.
struct FileRegistry {
  std::vector<std::string> directories;  // index + fsRtDirID is the id
  std::map<std::string, SInt32> directoryIds;
  std::vector<std::string> refPaths;  // index is the FSRef's number
  std::map<std::string, UInt32> refIds;
  std::map<SInt16, int> openFiles;  // reference number -> descriptor
  SInt16 lastRefNum = 0;
};

FileRegistry& Registry() {
  static FileRegistry registry;
  if (registry.directories.empty()) {
    registry.directories.push_back("/");
    registry.directoryIds["/"] = fsRtDirID;
  }
  return registry;
}

OSErr ErrorFromErrno(int error) {
  switch (error) {
    case ENOENT:
    case ENOTDIR:
      return fnfErr;
    case EACCES:
    case EPERM:
    case EROFS:
      return permErr;
    case ENAMETOOLONG:
      return bdNamErr;
    case EEXIST:
      return dupFNErr;
    default:
      return ioErr;
  }
}

SInt32 DirectoryId(const std::string& canonicalDirectory) {
  FileRegistry& registry = Registry();
  auto found = registry.directoryIds.find(canonicalDirectory);
  if (found != registry.directoryIds.end()) return found->second;
  SInt32 id = static_cast<SInt32>(registry.directories.size()) + fsRtDirID;
  registry.directories.push_back(canonicalDirectory);
  registry.directoryIds[canonicalDirectory] = id;
  return id;
}

bool DirectoryPath(SInt32 id, std::string* path) {
  const FileRegistry& registry = Registry();
  if (id < fsRtDirID || static_cast<size_t>(id - fsRtDirID) >= registry.directories.size())
    return false;
  *path = registry.directories[id - fsRtDirID];
  return true;
}

bool CanonicalDirectory(const std::string& directory, std::string* canonical) {
  char* resolved = realpath(directory.c_str(), nullptr);
  if (resolved == nullptr) return false;
  *canonical = resolved;
  std::free(resolved);
  struct stat info;
  return stat(canonical->c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string JoinPath(const std::string& directory, const std::string& name) {
  return directory == "/" ? "/" + name : directory + "/" + name;
}

// Splits a path into its directory (made absolute) and its last component.
void SplitPath(const char* path, std::string* directory, std::string* leaf) {
  std::string full = path;
  if (full.empty() || full[0] != '/') {
    char* cwd = getcwd(nullptr, 0);
    full = JoinPath(cwd != nullptr ? cwd : "/", full);
    std::free(cwd);
  }
  while (full.size() > 1 && full.back() == '/') full.pop_back();
  size_t slash = full.rfind('/');
  *leaf = full.substr(slash + 1);
  *directory = slash == 0 ? "/" : full.substr(0, slash);
}

bool NameFromPascal(ConstStr255Param name, std::string* text) {
  if (name == nullptr) return false;
  text->assign(reinterpret_cast<const char*>(name) + 1, name[0]);
  return true;
}

void StoreSpec(SInt32 parID, const std::string& name, FSSpec* location) {
  std::memset(location, 0, sizeof(FSSpec));
  location->vRefNum = kZPXVolumeRefNum;
  location->parID = parID;
  if (name.size() > kMaxSpecName) return;
  location->name[0] = static_cast<unsigned char>(name.size());
  std::memcpy(location->name + 1, name.data(), name.size());
}

bool ValidName(const std::string& name) {
  return !name.empty() && name.size() <= kMaxSpecName && name.find('/') == std::string::npos &&
         name.find('\0') == std::string::npos;
}

OSErr FileExists(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 ? OSErr(noErr) : ErrorFromErrno(errno);
}

UInt32 RefId(const std::string& path) {
  FileRegistry& registry = Registry();
  auto found = registry.refIds.find(path);
  if (found != registry.refIds.end()) return found->second;
  UInt32 id = static_cast<UInt32>(registry.refPaths.size());
  registry.refPaths.push_back(path);
  registry.refIds[path] = id;
  return id;
}

void StoreRef(const std::string& path, FSRef* ref) {
  std::memset(ref, 0, sizeof(FSRef));
  UInt32 id = RefId(path);
  std::memcpy(ref->hidden, &kRefMagic, sizeof kRefMagic);
  std::memcpy(ref->hidden + sizeof kRefMagic, &id, sizeof id);
}

bool PathOfRef(const FSRef* ref, std::string* path) {
  if (ref == nullptr) return false;
  UInt32 magic;
  UInt32 id;
  std::memcpy(&magic, ref->hidden, sizeof magic);
  std::memcpy(&id, ref->hidden + sizeof magic, sizeof id);
  const FileRegistry& registry = Registry();
  if (magic != kRefMagic || id >= registry.refPaths.size()) return false;
  *path = registry.refPaths[id];
  return true;
}

// The canonical form of an existing path: its directory resolved, its last
// component kept as given (a directory is resolved whole).
OSErr CanonicalPath(const char* path, std::string* canonical, bool* isDirectory) {
  struct stat info;
  if (stat(path, &info) != 0) return ErrorFromErrno(errno);
  *isDirectory = S_ISDIR(info.st_mode);
  if (*isDirectory) return CanonicalDirectory(path, canonical) ? OSErr(noErr) : OSErr(fnfErr);
  std::string directory;
  std::string leaf;
  SplitPath(path, &directory, &leaf);
  if (!CanonicalDirectory(directory, &directory)) return fnfErr;
  *canonical = JoinPath(directory, leaf);
  return noErr;
}

int OpenFlags(SInt8 permission) {
  switch (permission) {
    case fsRdPerm:
      return O_RDONLY;
    case fsWrPerm:
      return O_WRONLY;
    default:
      return O_RDWR;
  }
}

SInt16 NextRefNum() {
  FileRegistry& registry = Registry();
  do {
    registry.lastRefNum = registry.lastRefNum == SHRT_MAX ? 1 : registry.lastRefNum + 1;
  } while (registry.openFiles.count(registry.lastRefNum) != 0);
  return registry.lastRefNum;
}

OSErr OpenPath(const std::string& path, SInt8 permission, SInt16* refNum) {
  if (refNum == nullptr || permission < fsCurPerm || permission > fsRdWrPerm) return paramErr;
  // Without blocking: a FIFO would wait for a writer before the test below could
  // refuse it. A regular file ignores the flag.
  int fd = open(path.c_str(), OpenFlags(permission) | O_NONBLOCK | O_CLOEXEC);
  // Current permission: whatever access the file allows.
  if (fd < 0 && permission == fsCurPerm && (errno == EACCES || errno == EROFS))
    fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return ErrorFromErrno(errno);
  struct stat info;
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    close(fd);
    return notAFileErr;
  }
  if (Registry().openFiles.size() >= static_cast<size_t>(SHRT_MAX)) {
    close(fd);
    return ioErr;
  }
  *refNum = NextRefNum();
  Registry().openFiles[*refNum] = fd;
  return noErr;
}

bool DescriptorOf(SInt16 refNum, int* fd) {
  const FileRegistry& registry = Registry();
  auto found = registry.openFiles.find(refNum);
  if (found == registry.openFiles.end()) return false;
  *fd = found->second;
  return true;
}

}  // namespace

OSErr FSSpecFromPOSIXPath(const char* path, FSSpec* location, std::string* fullPath) {
  if (path == nullptr || location == nullptr) return paramErr;
  std::string directory;
  std::string leaf;
  SplitPath(path, &directory, &leaf);
  if (!CanonicalDirectory(directory, &directory)) {
    StoreSpec(0, "", location);
    return dirNFErr;
  }
  StoreSpec(DirectoryId(directory), leaf, location);
  if (fullPath != nullptr) *fullPath = JoinPath(directory, leaf);
  if (leaf.size() > kMaxSpecName) return bdNamErr;
  return FileExists(JoinPath(directory, leaf));
}

OSErr POSIXPathFromFSSpec(const FSSpec& location, std::string* path) {
  std::string directory;
  std::string name(reinterpret_cast<const char*>(location.name) + 1,
                   location.name[0] <= kMaxSpecName ? location.name[0] : 0);
  if (location.vRefNum != kZPXVolumeRefNum || !ValidName(name) ||
      !DirectoryPath(location.parID, &directory))
    return fnfErr;
  *path = JoinPath(directory, name);
  return noErr;
}

OSErr FSMakeFSSpec(SInt16 vRefNum, SInt32 dirID, ConstStr255Param fileName, FSSpec* location) {
  std::string name;
  if (location == nullptr || !NameFromPascal(fileName, &name)) return paramErr;
  if (vRefNum != 0 && vRefNum != kZPXVolumeRefNum) return nsvErr;
  std::string directory;
  if (dirID == 0) {
    if (!CanonicalDirectory(".", &directory)) return dirNFErr;
    dirID = DirectoryId(directory);
  } else if (!DirectoryPath(dirID, &directory)) {
    return dirNFErr;
  }
  if (name.size() > kMaxSpecName || name.find('/') != std::string::npos) return bdNamErr;
  StoreSpec(dirID, name, location);
  // An empty name names no file that can be opened here.
  if (name.empty()) return fnfErr;
  return FileExists(JoinPath(directory, name));
}

OSErr FSpOpenDF(const FSSpec* location, SInt8 permission, SInt16* refNum) {
  std::string path;
  if (location == nullptr) return paramErr;
  if (POSIXPathFromFSSpec(*location, &path) != noErr) return fnfErr;
  return OpenPath(path, permission, refNum);
}

OSErr FSpCreate(const FSSpec* location, OSType, OSType, ScriptCode) {
  std::string path;
  if (location == nullptr) return paramErr;
  if (POSIXPathFromFSSpec(*location, &path) != noErr) return dirNFErr;
  int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) return ErrorFromErrno(errno);
  close(fd);
  return noErr;
}

OSErr FSPathMakeRef(const UInt8* path, FSRef* ref, Boolean* isDirectory) {
  if (path == nullptr || ref == nullptr) return paramErr;
  std::string canonical;
  bool directory = false;
  OSErr error = CanonicalPath(reinterpret_cast<const char*>(path), &canonical, &directory);
  if (error != noErr) return error;
  StoreRef(canonical, ref);
  if (isDirectory != nullptr) *isDirectory = directory;
  return noErr;
}

OSErr FSGetCatalogInfo(const FSRef* ref, FSCatalogInfoBitmap whichInfo, FSCatalogInfo* catalogInfo,
                       HFSUniStr255* outName, FSSpec* fsSpec, FSRef* parentRef) {
  std::string path;
  if (outName != nullptr || !PathOfRef(ref, &path)) return paramErr;
  struct stat info;
  if (stat(path.c_str(), &info) != 0) return ErrorFromErrno(errno);
  std::string directory;
  std::string leaf;
  SplitPath(path.c_str(), &directory, &leaf);
  if (catalogInfo != nullptr) {
    std::memset(catalogInfo, 0, sizeof(FSCatalogInfo));
    if (whichInfo & kFSCatInfoNodeFlags)
      catalogInfo->nodeFlags = S_ISDIR(info.st_mode) ? kFSNodeIsDirectoryMask : 0;
    if (whichInfo & kFSCatInfoVolume) catalogInfo->volume = kZPXVolumeRefNum;
    if (whichInfo & kFSCatInfoParentDirID)
      catalogInfo->parentDirID = path == "/" ? fsRtParID : DirectoryId(directory);
    if ((whichInfo & kFSCatInfoDataSizes) && S_ISREG(info.st_mode))
      catalogInfo->dataLogicalSize = static_cast<UInt64>(info.st_size);
  }
  if (parentRef != nullptr) StoreRef(directory, parentRef);
  if (fsSpec == nullptr) return noErr;
  StoreSpec(DirectoryId(directory), leaf, fsSpec);
  return leaf.size() > kMaxSpecName ? OSErr(bdNamErr) : OSErr(noErr);
}

OSErr FSRefMakePath(const FSRef* ref, UInt8* path, UInt32 maxPathSize) {
  std::string text;
  if (path == nullptr || !PathOfRef(ref, &text)) return paramErr;
  if (text.size() + 1 > maxPathSize) return bdNamErr;
  std::memcpy(path, text.c_str(), text.size() + 1);
  return noErr;
}

OSErr FSOpenFork(const FSRef* ref, UniCharCount forkNameLength, const UniChar*, SInt8 permissions,
                 SInt16* forkRefNum) {
  std::string path;
  if (forkNameLength != 0 || !PathOfRef(ref, &path)) return paramErr;
  return OpenPath(path, permissions, forkRefNum);
}

OSErr FSRead(SInt16 refNum, SInt32* count, void* buffer) {
  int fd;
  if (!DescriptorOf(refNum, &fd)) return rfNumErr;
  if (count == nullptr || *count < 0 || (buffer == nullptr && *count > 0)) return paramErr;
  SInt32 wanted = *count;
  SInt32 got = 0;
  while (got < wanted) {
    ssize_t n = read(fd, static_cast<char*>(buffer) + got, static_cast<size_t>(wanted - got));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      *count = got;
      return ioErr;
    }
    if (n == 0) break;
    got += static_cast<SInt32>(n);
  }
  *count = got;
  return got < wanted ? OSErr(eofErr) : OSErr(noErr);
}

OSErr FSWrite(SInt16 refNum, SInt32* count, const void* buffer) {
  int fd;
  if (!DescriptorOf(refNum, &fd)) return rfNumErr;
  if (count == nullptr || *count < 0 || (buffer == nullptr && *count > 0)) return paramErr;
  size_t done = 0;
  if (!WriteAll(fd, buffer, static_cast<size_t>(*count), &done)) {
    *count = static_cast<SInt32>(done);
    return errno == EBADF ? OSErr(wrPermErr) : OSErr(ioErr);
  }
  return noErr;
}

OSErr FSClose(SInt16 refNum) {
  int fd;
  if (!DescriptorOf(refNum, &fd)) return rfNumErr;
  Registry().openFiles.erase(refNum);
  return close(fd) == 0 ? OSErr(noErr) : OSErr(ioErr);
}
