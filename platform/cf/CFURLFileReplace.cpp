#include "cf/CFURLFileReplace.h"
#include "ipc/WriteAll.h"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdio>

namespace {

// Tries before giving up on finding a free temporary name.
constexpr int kNameAttempts = 16;

std::string FolderOf(const std::string& path) {
  size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// Unpredictable when the kernel answers, else at least unique within the process.
uint64_t RandomSuffix() {
  static std::atomic<uint64_t> sCounter{0};
  uint64_t value = 0;
  if (getrandom(&value, sizeof value, GRND_NONBLOCK) != ssize_t(sizeof value))
    value = (uint64_t(getpid()) << 32) + ++sCounter;
  return value;
}

}  // namespace

int CFURLFileReplace::CreateTemporary(const std::string& path, std::string& temporary) {
  std::string folder = FolderOf(path);
  std::string name = path.substr(path.find_last_of('/') + 1);
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, ".%016llx",
                  static_cast<unsigned long long>(RandomSuffix()));
    temporary = folder + "/." + name + suffix;
    int descriptor =
        open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (descriptor >= 0 || errno != EEXIST) return descriptor;
  }
  return -1;
}

int CFURLFileReplace::WriteAndSync(int descriptor, const void* bytes, size_t length) {
  if (!WriteAll(descriptor, bytes, length)) return errno;
  return fsync(descriptor) == 0 ? 0 : errno;
}

// The rename itself reaches the disk only with the folder; a failure here
// leaves the new contents in place, so it is not reported.
void CFURLFileReplace::SyncFolderOf(const std::string& path) {
  int folder = open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder < 0) return;
  fsync(folder);
  close(folder);
}

int CFURLFileReplace::Write(const std::string& path, const void* bytes, size_t length,
                            LinkPolicy links) {
  struct stat status;
  if (links == kRefuseLink && lstat(path.c_str(), &status) == 0 && S_ISLNK(status.st_mode))
    return ELOOP;
  std::string temporary;
  int descriptor = CreateTemporary(path, temporary);
  if (descriptor < 0) return errno;
  int error = WriteAndSync(descriptor, bytes, length);
  if (close(descriptor) != 0 && error == 0) error = errno;
  if (error == 0 && rename(temporary.c_str(), path.c_str()) != 0) error = errno;
  if (error != 0) {
    unlink(temporary.c_str());
    return error;
  }
  SyncFolderOf(path);
  return 0;
}
