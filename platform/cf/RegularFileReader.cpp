#include "cf/RegularFileReader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace {

RegularFileReader::Result ReadOpen(int descriptor, size_t limit, std::vector<UInt8>& bytes) {
  struct stat status;
  if (fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode))
    return RegularFileReader::kNotRegular;
  if (static_cast<unsigned long long>(status.st_size) > limit) return RegularFileReader::kTooLarge;
  UInt8 chunk[65536];
  for (;;) {
    ssize_t count = read(descriptor, chunk, sizeof chunk);
    if (count < 0 && errno == EINTR) continue;
    if (count < 0) return RegularFileReader::kReadFailed;
    if (count == 0) return RegularFileReader::kRead;
    // The file may grow while it is read.
    if (bytes.size() + size_t(count) > limit) return RegularFileReader::kTooLarge;
    bytes.insert(bytes.end(), chunk, chunk + count);
  }
}

}  // namespace

RegularFileReader::Result RegularFileReader::Read(const std::string& path, size_t limit,
                                                  std::vector<UInt8>& bytes) {
  int descriptor = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (descriptor < 0) return kCannotOpen;
  Result result = ReadOpen(descriptor, limit, bytes);
  int error = errno;
  close(descriptor);
  errno = error;
  return result;
}
