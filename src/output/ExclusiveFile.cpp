#include "output/ExclusiveFile.h"

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

bool WriteWhole(int descriptor, const UInt8* bytes, size_t length) {
  while (length > 0) {
    ssize_t written = write(descriptor, bytes, length);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes += written;
    length -= size_t(written);
  }
  return true;
}

}  // namespace

OSStatus ExclusiveFile::Write(const char* path, CFDataRef data) {
  if (path == nullptr || data == nullptr) return paramErr;
  int descriptor = open(path, O_CREAT | O_EXCL | O_NOFOLLOW | O_WRONLY | O_CLOEXEC, 0644);
  if (descriptor < 0) return StatusOfErrno(errno);
  bool written = fchmod(descriptor, 0644) == 0 &&
                 WriteWhole(descriptor, CFDataGetBytePtr(data), size_t(CFDataGetLength(data)));
  int error = errno;
  if (close(descriptor) != 0 && written) {
    written = false;
    error = errno;
  }
  if (written) return noErr;
  unlink(path);
  return StatusOfErrno(error);
}
