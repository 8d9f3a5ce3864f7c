#include "host/JobOutput.h"
#include "ipc/WriteAll.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {}  // namespace

JobOutput::JobOutput(int fd) : mFds{fd}, mBuffer(new char[kBufferSize]) {}

JobOutput::~JobOutput() {
  for (int fd : mCopies) close(fd);
}

bool JobOutput::AddCopy(const std::string& path) {
  int fd = open(path.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd == -1) return false;
  struct stat status;
  bool usable = fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && status.st_uid == geteuid() &&
                status.st_size == 0;
  if (!usable) {
    close(fd);
    return false;
  }
  mCopies.push_back(fd);
  mFds.push_back(fd);
  return true;
}

void JobOutput::WriteThrough(const char* bytes, size_t length) {
  for (int fd : mFds)
    if (!WriteAll(fd, bytes, length)) mFailed = true;
}

void JobOutput::Write(const char* bytes, size_t length) {
  if (length == 0) return;
  if (mUsed + length > kBufferSize) {
    Flush();
    if (length >= kBufferSize) return WriteThrough(bytes, length);
  }
  std::memcpy(mBuffer.get() + mUsed, bytes, length);
  mUsed += length;
}

bool JobOutput::Flush() {
  if (mUsed > 0) WriteThrough(mBuffer.get(), mUsed);
  mUsed = 0;
  return !mFailed;
}
