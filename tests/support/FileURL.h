#pragma once
// Bundles at paths, and through cf/CFFileURL.h the file URLs of paths; the caller releases what it
// gets.

#include <string>

#include "cf/CFFileURL.h"
#include "cf/CFRef.h"
#include "cf/CoreFoundation.h"

inline CFBundleRef CreateBundleAt(const std::string& folder) {
  CFRef<CFURLRef> url(CreateFileURL(folder, true));
  return CFBundleCreate(nullptr, url.get());
}
