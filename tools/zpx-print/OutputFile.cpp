#include "OutputFile.h"

#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

#include "host/ScratchFolders.h"

namespace {

constexpr int kMaximumLinks = 40;
constexpr size_t kMaximumDescriptorDigits = 9;

std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) { return path.substr(path.find_last_of('/') + 1); }

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// /proc/PID/fd or /proc/PID/task/TID/fd of this process, however named.
bool IsOwnDescriptorFolder(const std::string& folder) {
  char real[PATH_MAX];
  if (realpath(folder.c_str(), real) == nullptr) return false;
  const std::string path = real;
  const std::string own = "/proc/" + std::to_string(getpid()) + "/";
  if (path.compare(0, own.size(), own) != 0) return false;
  const std::string rest = path.substr(own.size());
  return rest == "fd" || (rest.compare(0, 5, "task/") == 0 && EndsWith(rest, "/fd"));
}

// The descriptor of this process that `path` names through links into its
// descriptor folder (/dev/stdout, /dev/fd/N, a shell's >(command)); -1 for
// any other path.
int OwnDescriptorNamed(std::string path) {
  for (int link = 0; link <= kMaximumLinks; ++link) {
    if (IsOwnDescriptorFolder(FolderOf(path))) {
      const std::string name = NameOf(path);
      const bool number = !name.empty() && name.size() <= kMaximumDescriptorDigits &&
                          name.find_first_not_of("0123456789") == std::string::npos;
      return number ? std::stoi(name) : -1;
    }
    char target[PATH_MAX];
    const ssize_t length = readlink(path.c_str(), target, sizeof target - 1);
    if (length <= 0) return -1;
    const std::string next(target, size_t(length));
    path = next[0] == '/' ? next : FolderOf(path) + "/" + next;
  }
  return -1;
}

int ConnectedSocket(const std::string& path) {
  sockaddr_un address = {};
  address.sun_family = AF_UNIX;
  if (path.size() >= sizeof address.sun_path) {
    errno = ENAMETOOLONG;
    return -1;
  }
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd == -1 || connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0)
    return fd;
  const int reason = errno;
  close(fd);
  errno = reason;
  return -1;
}

mode_t NewFileMode() {
  const mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

}  // namespace

OutputFile::OutputFile(const std::string& path) : mPath(path) {
  if (path.empty())
    mFd = STDOUT_FILENO;
  else if (!OpenOwnDescriptor())
    Open(path);
}

void OutputFile::Open(const std::string& path) {
  struct stat entry;
  if (lstat(path.c_str(), &entry) != 0) {
    if (errno == ENOENT) return WriteBeside(NewFileMode());
    mProblem = "cannot write " + path + ": " + std::strerror(errno);
    return;
  }
  if (S_ISREG(entry.st_mode)) return WriteBeside(entry.st_mode & 0777);
  if (S_ISDIR(entry.st_mode)) {
    mProblem = "cannot write " + path + ": it is a folder";
    return;
  }
  if (!S_ISLNK(entry.st_mode)) return WriteInto(S_ISSOCK(entry.st_mode));
  struct stat target;
  if (stat(path.c_str(), &target) != 0) {
    if (errno == ENOENT) return WriteBeside(NewFileMode());
    mProblem = "cannot write " + path + ": " + std::strerror(errno);
  } else if (S_ISDIR(target.st_mode)) {
    mProblem = "cannot write " + path + ": it is a link to a folder";
  } else if (S_ISREG(target.st_mode)) {
    WriteBeside(NewFileMode());
  } else {
    WriteInto(S_ISSOCK(target.st_mode));
  }
}

OutputFile::~OutputFile() {
  if (mOwnsFd && mFd != -1) close(mFd);
  if (mPending.empty()) return;
  unlink(mPending.c_str());
  ScratchFolders::Release(mPending);
}

bool OutputFile::OpenOwnDescriptor() {
  const int number = OwnDescriptorNamed(mPath);
  if (number < 0) return false;
  const int flags = fcntl(number, F_GETFL);
  if (flags == -1 || (flags & O_ACCMODE) == O_RDONLY)
    mProblem = "cannot write " + mPath + ": descriptor " + std::to_string(number) +
               " is not open for writing";
  else
    mFd = number;
  return true;
}

void OutputFile::WriteBeside(mode_t mode) {
  mMode = mode;
  mPending = mPath + ".zpx-print-XXXXXX";
  mFd = ScratchFolders::MakeFile(mPending);
  mOwnsFd = true;
  if (mFd != -1) return;
  mProblem = "cannot write a file beside " + mPath + ": " + std::strerror(errno);
  mPending.clear();
}

void OutputFile::WriteInto(bool isSocket) {
  mFd = isSocket ? ConnectedSocket(mPath) : open(mPath.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
  mOwnsFd = true;
  if (mFd == -1) {
    mProblem = "cannot write " + mPath + ": " + std::strerror(errno);
    return;
  }
  // What was a device a moment ago may be a file now: never written over in place.
  struct stat opened;
  if (fstat(mFd, &opened) == 0 && !S_ISREG(opened.st_mode) && !S_ISDIR(opened.st_mode)) return;
  close(mFd);
  mFd = -1;
  mProblem = "cannot write " + mPath + ": it changed while it was opened";
}

bool OutputFile::Keep() {
  if (mPending.empty()) return true;
  if (fchmod(mFd, mMode) != 0 || rename(mPending.c_str(), mPath.c_str()) != 0) {
    mProblem = "cannot write " + mPath + ": " + std::strerror(errno);
    return false;
  }
  ScratchFolders::Release(mPending);
  mPending.clear();
  return true;
}
