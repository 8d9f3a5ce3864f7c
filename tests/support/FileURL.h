#pragma once
// File URLs of paths and the bundles at them; the caller releases what it gets.

#include <string>

#include "cf/CFRef.h"
#include "cf/CoreFoundation.h"

inline CFURLRef CreateFileURL(const std::string& path, bool folder = false) {
  return CFURLCreateFromFileSystemRepresentation(
      kCFAllocatorDefault, reinterpret_cast<const UInt8*>(path.c_str()), CFIndex(path.size()), folder);
}

inline CFBundleRef CreateBundleAt(const std::string& folder) {
  CFRef<CFURLRef> url(CreateFileURL(folder, true));
  return CFBundleCreate(nullptr, url.get());
}
