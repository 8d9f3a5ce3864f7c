#pragma once
// Platform file URLs of POSIX paths.

#include <string>

#include "cf/CoreFoundation.h"

// A new file URL of the path (a folder's when `folder`); the caller releases it.
CFURLRef CreateFileURL(const std::string& path, bool folder = false);
