#include "toolkit/gtk/ScreenLibrary.h"

#include <unistd.h>

#include <gdk/gdkx.h>

#include "toolkit/gtk/ScreenBackend.h"

namespace {

void (*sDisplayLost)() = nullptr;

// Xlib ends the program when this returns; GDK's own handler would end it
// with a message of its own and nothing removed.
int OnDisplayLost(Display*) {
  if (sDisplayLost != nullptr) sDisplayLost();
  _exit(1);
}

}  // namespace

extern "C" ToolkitBackend* ZPXOpenScreen(std::string* error, void (*displayLost)()) {
  std::unique_ptr<ScreenBackend> screen = ScreenBackend::Open(error);
  if (!screen) return nullptr;
  sDisplayLost = displayLost;
  if (GDK_IS_X11_DISPLAY(gdk_display_get_default())) XSetIOErrorHandler(OnDisplayLost);
  return screen.release();
}
