#pragma once
// The file URL of a path; the caller releases it.

#include <string>

#include "cf/CoreFoundation.h"

inline CFURLRef CreateFileURL(const std::string& path) {
  return CFURLCreateFromFileSystemRepresentation(
      kCFAllocatorDefault, reinterpret_cast<const UInt8*>(path.c_str()), CFIndex(path.size()), false);
}
