#include "GuiHost.h"

#include <dlfcn.h>

#include <cstdio>

#include "HiddenDialog.h"
#include "PrintWindow.h"
#include "host/ScratchFolders.h"
#include "toolkit/ToolkitModel.h"
#include "toolkit/gtk/ScreenLibrary.h"

namespace {

// The screen's library lies beside the platform's, wherever that was loaded from.
std::string ScreenLibraryPath() {
  Dl_info platform = {};
  if (dladdr(reinterpret_cast<void*>(&ToolkitModel::Shared), &platform) == 0 ||
      platform.dli_fname == nullptr)
    return kScreenLibrary;
  const std::string path = platform.dli_fname;
  return path.substr(0, path.rfind('/') + 1) + kScreenLibrary;
}

}  // namespace

PrintFailure GuiHost::OpenScreen() {
  // Kept loaded to the end: the toolkit cannot be unloaded.
  void* library = dlopen(ScreenLibraryPath().c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
  auto open = library != nullptr ? reinterpret_cast<ScreenEntry>(dlsym(library, kScreenEntry))
                                  : nullptr;
  if (open == nullptr) {
    const char* reason = dlerror();
    return PrintFailure::NoJob(std::string("cannot load the screen's library: ") +
                               (reason != nullptr ? reason : kScreenLibrary));
  }
  std::string error;
  mScreen.reset(open(&error, DisplayLost));
  return mScreen ? PrintFailure::None() : PrintFailure::BadInput(error);
}

std::unique_ptr<HostDialog> GuiHost::NewDialog(const std::string& printer) const {
  if (mScreen) return std::make_unique<PrintWindow>(printer);
  return std::make_unique<HiddenDialog>();
}

void GuiHost::DisplayLost() {
  std::fputs("zpx-print: the display went away: the print window is gone and nothing was printed\n",
             stderr);
  ScratchFolders::Exit(kExitBadInput);
}
