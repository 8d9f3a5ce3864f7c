// The window calls over the process's toolkit model.

#include <algorithm>

#include "cf/CFStringObject.h"
#include "toolkit/CoreGraphics.h"
#include "toolkit/ToolkitModel.h"
#include "toolkit/ToolkitWindow.h"

OSStatus CreateNewWindow(WindowClass windowClass, WindowAttributes, const Rect* bounds,
                         WindowRef* outWindow) {
  if (!bounds || !outWindow) return paramErr;
  *outWindow = new OpaqueWindowPtr(windowClass, *bounds);
  ToolkitModel::Shared().AddWindow(*outWindow);
  return noErr;
}

void DisposeWindow(WindowRef window) {
  ToolkitModel& model = ToolkitModel::Shared();
  if (!model.IsLive(window)) return;
  model.RemoveWindow(window);
  for (WindowRef other : model.Windows())
    if (other->mSheetParent == window) other->mSheetParent = nullptr;
  delete window;
}

OSStatus ReleaseWindow(WindowRef window) {
  if (!ToolkitModel::Shared().IsLive(window)) return errInvalidWindowRef;
  if (--window->mRetainCount == 0) DisposeWindow(window);
  return noErr;
}

void ShowWindow(WindowRef window) {
  if (!ToolkitModel::Shared().IsLive(window)) return;
  window->mVisible = true;
  ToolkitModel::Shared().BringToFront(window);
}

void HideWindow(WindowRef window) {
  if (ToolkitModel::Shared().IsLive(window)) window->mVisible = false;
}

Boolean IsWindowVisible(WindowRef window) {
  return ToolkitModel::Shared().IsLive(window) && window->mVisible;
}

void SelectWindow(WindowRef window) {
  if (ToolkitModel::Shared().IsLive(window)) ToolkitModel::Shared().BringToFront(window);
}

OSStatus ShowSheetWindow(WindowRef sheet, WindowRef parent) {
  ToolkitModel& model = ToolkitModel::Shared();
  if (!model.IsLive(sheet) || !model.IsLive(parent) || sheet == parent) return paramErr;
  sheet->mSheetParent = parent;
  ShowWindow(sheet);
  return noErr;
}

OSStatus HideSheetWindow(WindowRef sheet) {
  if (!ToolkitModel::Shared().IsLive(sheet) || !sheet->mSheetParent) return paramErr;
  sheet->mSheetParent = nullptr;
  HideWindow(sheet);
  return noErr;
}

OSStatus GetSheetWindowParent(WindowRef sheet, WindowRef* outParent) {
  if (!ToolkitModel::Shared().IsLive(sheet) || !outParent) return paramErr;
  if (sheet->mSheetParent == nullptr) return errInvalidWindowRef;
  *outParent = sheet->mSheetParent;
  return noErr;
}

OSStatus GetWindowClass(WindowRef window, WindowClass* outClass) {
  if (!ToolkitModel::Shared().IsLive(window) || !outClass) return errInvalidWindowRef;
  *outClass = window->mClass;
  return noErr;
}

OSStatus GetWindowBounds(WindowRef window, WindowRegionCode, Rect* outBounds) {
  if (!ToolkitModel::Shared().IsLive(window) || !outBounds) return errInvalidWindowRef;
  *outBounds = window->mBounds;
  return noErr;
}

void MoveWindow(WindowRef window, short h, short v, Boolean) {
  if (!ToolkitModel::Shared().IsLive(window)) return;
  OffsetRect(&window->mBounds, short(h - window->mBounds.left), short(v - window->mBounds.top));
}

void SizeWindow(WindowRef window, short width, short height, Boolean) {
  if (!ToolkitModel::Shared().IsLive(window) || width < 0 || height < 0) return;
  window->mBounds.right = short(window->mBounds.left + width);
  window->mBounds.bottom = short(window->mBounds.top + height);
}

namespace {

// Where a side of `length` starts centred on [from, to), moved onto the
// display's [low, high) when it fits there.
int CentredOn(int from, int to, int length, int low, int high) {
  const int start = from + (to - from - length) / 2;
  return length <= high - low ? std::clamp(start, low, high - length) : start;
}

}  // namespace

OSStatus RepositionWindow(WindowRef window, WindowRef parentWindow, WindowPositionMethod method) {
  ToolkitModel& model = ToolkitModel::Shared();
  if (!model.IsLive(window) || !model.IsLive(parentWindow)) return errInvalidWindowRef;
  if (method != kWindowCenterOnParentWindow) return paramErr;
  const Rect& parent = parentWindow->mBounds;
  const Rect& bounds = window->mBounds;
  const CGRect display = CGDisplayBounds(CGMainDisplayID());
  const int left = int(display.origin.x), top = int(display.origin.y);
  const int h = CentredOn(parent.left, parent.right, bounds.right - bounds.left, left,
                          left + int(display.size.width));
  const int v = CentredOn(parent.top, parent.bottom, bounds.bottom - bounds.top, top,
                          top + int(display.size.height));
  MoveWindow(window, short(h), short(v), false);
  return noErr;
}

OSStatus SetWindowTitleWithCFString(WindowRef window, CFStringRef title) {
  if (!ToolkitModel::Shared().IsLive(window) || !title) return paramErr;
  window->mTitle = __CFString::utf8Of(title);
  return noErr;
}

EventTargetRef GetWindowEventTarget(WindowRef window) {
  return ToolkitModel::Shared().IsLive(window) ? &window->mTarget : nullptr;
}

GrafPtr GetWindowPort(WindowRef window) { return reinterpret_cast<GrafPtr>(window); }

OSStatus RunAppModalLoopForWindow(WindowRef window) {
  ToolkitModel& model = ToolkitModel::Shared();
  if (!model.IsLive(window)) return errInvalidWindowRef;
  model.BringToFront(window);
  return model.mModalLoops.Run(window, model.mBackend);
}

OSStatus QuitAppModalLoopForWindow(WindowRef window) {
  return ToolkitModel::Shared().mModalLoops.Quit(window);
}
