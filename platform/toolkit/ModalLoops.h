#pragma once
// The nested modal loops: each runs the main run loop and the user's steps
// until it is told to quit; quitting an outer loop ends it only once the loops
// inside it have ended. The application's loop is one without a window.

#include <cstddef>
#include <vector>

#include "toolkit/ToolkitBackend.h"

class ModalLoops {
 public:
  OSStatus Run(WindowRef window, ToolkitBackend* backend);
  OSStatus Quit(WindowRef window);
  size_t DepthForTesting() const { return mFrames.size(); }
  WindowRef Innermost() const { return mFrames.empty() ? nullptr : mFrames.back()->window; }

 private:
  struct Frame {
    WindowRef window;
    bool quit;
  };
  std::vector<Frame*> mFrames;
};
