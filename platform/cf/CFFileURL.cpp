#include "cf/CFFileURL.h"

CFURLRef CreateFileURL(const std::string& path, bool folder) {
  return CFURLCreateFromFileSystemRepresentation(kCFAllocatorDefault,
                                                 reinterpret_cast<const UInt8*>(path.c_str()),
                                                 CFIndex(path.size()), folder);
}
