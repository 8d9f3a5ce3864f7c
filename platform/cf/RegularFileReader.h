#pragma once
// Reads a whole regular file into memory, never more than a given number of
// bytes: files come from anywhere, and a device, a FIFO or a huge file must not
// hang or exhaust the reader.

#include <cstddef>
#include <string>
#include <vector>

#include "carbon/MacTypes.h"

class RegularFileReader {
 public:
  enum Result { kRead, kCannotOpen, kNotRegular, kTooLarge, kReadFailed };

  // `bytes` receives the file's contents on kRead. After kCannotOpen and
  // kReadFailed, errno holds the cause.
  static Result Read(const std::string& path, size_t limit, std::vector<UInt8>& bytes);
};
