#include "GuiHost.h"

#include "HiddenDialog.h"
#include "PrintWindow.h"

PrintFailure GuiHost::OpenScreen() {
  std::string error;
  mScreen = ScreenBackend::Open(&error);
  return mScreen ? PrintFailure::None() : PrintFailure::BadInput(error);
}

std::unique_ptr<HostDialog> GuiHost::NewDialog(const std::string& printer) const {
  if (mScreen) return std::make_unique<PrintWindow>(printer);
  return std::make_unique<HiddenDialog>();
}
