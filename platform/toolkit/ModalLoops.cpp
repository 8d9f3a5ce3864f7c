#include "toolkit/ModalLoops.h"

#include <cstdio>

OSStatus ModalLoops::Run(WindowRef window, ToolkitBackend* backend) {
  Frame frame = {window, false};
  mFrames.push_back(&frame);
  OSStatus status = noErr;
  for (;;) {
    CFRunLoopRunInMode(kCFRunLoopDefaultMode, 0, false);
    if (frame.quit) break;
    if (backend && backend->PerformModalStep(window)) continue;
    // Nobody can end the loop any more: report it instead of waiting forever.
    if (backend)
      backend->ModalLoopStalled(window);
    else
      std::fprintf(stderr, "toolkit: modal loop with no user to end it\n");
    status = eventLoopTimedOutErr;
    break;
  }
  mFrames.pop_back();
  return status;
}

OSStatus ModalLoops::Quit(WindowRef window) {
  for (auto frame = mFrames.rbegin(); frame != mFrames.rend(); ++frame) {
    if ((*frame)->window != window || (*frame)->quit) continue;
    (*frame)->quit = true;
    return noErr;
  }
  return paramErr;
}
