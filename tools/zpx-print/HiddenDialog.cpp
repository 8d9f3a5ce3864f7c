#include "HiddenDialog.h"

HiddenDialog::HiddenDialog() {
  Rect bounds = {100, 100, 500, 700};
  Rect paneBounds = {0, 0, 0, 0};  // sized by the extension's prologue
  if (CreateNewWindow(kDocumentWindowClass, kWindowNoAttributes, &bounds, &mWindow) != noErr)
    mWindow = nullptr;
  ControlRef root = nullptr;
  if (mWindow != nullptr && (CreateRootControl(mWindow, &root) != noErr ||
                             CreateUserPaneControl(mWindow, &paneBounds, 0, &mPane) != noErr))
    mPane = nullptr;
}

HiddenDialog::~HiddenDialog() {
  if (mWindow != nullptr) DisposeWindow(mWindow);
}
