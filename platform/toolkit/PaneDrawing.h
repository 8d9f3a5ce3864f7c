#pragma once
// What a control drew the last time it was drawn: pictures and erased areas,
// in window coordinates, for tests to read back and a screen to show.

#include <cstddef>

#include "cf/CFRef.h"
#include "toolkit/CoreGraphics.h"

struct PaneDrawing {
  enum class Kind { kPicture, kErase };
  Kind kind;
  Rect area;
  size_t width = 0;  // of the picture
  size_t height = 0;
  CFRef<CGImageRef> image;  // what a screen shows of the picture
};
