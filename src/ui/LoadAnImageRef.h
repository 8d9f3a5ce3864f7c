#pragma once
// A picture file decoded into an image.

#include <cstddef>  // CoreGraphics.h uses size_t

#include "toolkit/CoreGraphics.h"

// The PNG picture at `url`, for the caller to release; null when the file
// cannot be read or is not a whole PNG within the platform's size limit.
CGImageRef LoadAnImageRef(CFURLRef url);
