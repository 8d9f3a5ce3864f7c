// Drawing into a window while one of its controls draws: what is drawn is kept
// by that control (it replaces what it drew the time before).

#include <algorithm>
#include <cmath>

#include "toolkit/CGObjects.h"
#include "toolkit/ToolkitModel.h"
#include "toolkit/ToolkitWindow.h"

struct __CGContext {
  WindowRef window;
};

namespace {

CGRect sMainDisplay = CGRectMake(0, 0, 1440, 900);

short Coordinate(CGFloat value) {
  if (!std::isfinite(value)) return 0;
  return short(std::clamp<CGFloat>(std::round(value), -32768, 32767));
}

// The control drawing now into `window`, or null.
ControlRef DrawingInto(WindowRef window) {
  ControlRef control = ToolkitModel::Shared().mDrawing;
  return control && control->mWindow == window ? control : nullptr;
}

}  // namespace

OSStatus QDBeginCGContext(CGrafPtr port, CGContextRef* outContext) {
  WindowRef window = reinterpret_cast<WindowRef>(port);
  if (!ToolkitModel::Shared().IsLive(window) || !outContext) return paramErr;
  *outContext = new __CGContext{window};
  return noErr;
}

OSStatus QDEndCGContext(CGrafPtr port, CGContextRef* inoutContext) {
  if (!inoutContext || !*inoutContext ||
      (*inoutContext)->window != reinterpret_cast<WindowRef>(port))
    return paramErr;
  delete *inoutContext;
  *inoutContext = nullptr;
  return noErr;
}

void CGContextDrawImage(CGContextRef context, CGRect rect, CGImageRef image) {
  if (!context || !image || !ToolkitModel::Shared().IsLive(context->window)) return;
  ControlRef control = DrawingInto(context->window);
  if (!control) return;
  short left = Coordinate(rect.origin.x), top = Coordinate(rect.origin.y);
  Rect area = {top, left, Coordinate(rect.origin.y + rect.size.height),
               Coordinate(rect.origin.x + rect.size.width)};
  control->mDrawn.push_back({PaneDrawing::Kind::kPicture, area, image->mWidth, image->mHeight,
                             CFRef<CGImageRef>::Retain(image)});
}

void EraseRect(const Rect* rect) {
  ControlRef control = ToolkitModel::Shared().mDrawing;
  if (control && rect) control->mDrawn.push_back({PaneDrawing::Kind::kErase, *rect, 0, 0, {}});
}

CGDirectDisplayID CGMainDisplayID() { return 1; }

CGRect CGDisplayBounds(CGDirectDisplayID display) {
  if (display != CGMainDisplayID()) return CGRectMake(0, 0, 0, 0);
  CGRect bounds = sMainDisplay;
  ToolkitBackend* backend = ToolkitModel::Shared().mBackend;
  if (backend) backend->DisplayBounds(&bounds);
  return bounds;
}

void SetMainDisplayBounds(CGRect bounds) { sMainDisplay = bounds; }
