#include "output/ExclusiveFile.h"
#include "ipc/WriteAll.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace {

OSStatus StatusOfErrno(int error) {
  switch (error) {
    case EEXIST:
    case ELOOP:
      return dupFNErr;
    case EACCES:
    case EPERM:
    case EROFS:
      return permErr;
    case ENOENT:
    case ENOTDIR:
      return dirNFErr;
    default:
      return ioErr;
  }
}

}  // namespace

OSStatus ExclusiveFile::Write(const char* path, CFDataRef data) {
  if (path == nullptr || data == nullptr) return paramErr;
  int descriptor = open(path, O_CREAT | O_EXCL | O_NOFOLLOW | O_WRONLY | O_CLOEXEC, 0644);
  if (descriptor < 0) return StatusOfErrno(errno);
  bool written = fchmod(descriptor, 0644) == 0 &&
                 WriteAll(descriptor, CFDataGetBytePtr(data), size_t(CFDataGetLength(data)));
  int error = errno;
  if (close(descriptor) != 0 && written) {
    written = false;
    error = errno;
  }
  if (written) return noErr;
  unlink(path);
  return StatusOfErrno(error);
}
