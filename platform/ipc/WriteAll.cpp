#include "ipc/WriteAll.h"

#include <unistd.h>

#include <cerrno>

bool WriteAll(int descriptor, const void* bytes, size_t length, size_t* written) {
  const char* cursor = static_cast<const char*>(bytes);
  size_t done = 0;
  bool whole = true;
  while (done < length) {
    const ssize_t count = write(descriptor, cursor + done, length - done);
    if (count < 0 && errno == EINTR) continue;
    if (count <= 0) {
      if (count == 0) errno = EIO;
      whole = false;
      break;
    }
    done += size_t(count);
  }
  if (written != nullptr) *written = done;
  return whole;
}
