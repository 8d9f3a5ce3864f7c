#include "PPDX/PPDObjects/Controls/PPDXCustomPageSizeControl.h"

#include "carbon/MacErrors.h"
#include "cf/CFRef.h"

PPDXCustomPageSizeControl::PPDXCustomPageSizeControl(const char* keyword, PointerList& flags)
    : PPDXCustomPageSizeControl(keyword, flags, 0, 0, 0, 0) {}

PPDXCustomPageSizeControl::PPDXCustomPageSizeControl(const char* keyword, PointerList& flags,
                                                     double minWidth, double maxWidth,
                                                     double minHeight, double maxHeight)
    : PPDXControl(keyword, CFSTR("Custom Page Size"), flags, nullptr, 0, true, nullptr),
      mWidth(0),
      mHeight(0),
      mMinWidth(float(minWidth)),
      mMaxWidth(float(maxWidth)),
      mMinHeight(float(minHeight)),
      mMaxHeight(float(maxHeight)) {
  SetType(CNTL_CUSTOMPAGESIZE);
}

PPDXCustomPageSizeControl::~PPDXCustomPageSizeControl() = default;

void PPDXCustomPageSizeControl::ResetToDefaultValue() {}

short PPDXCustomPageSizeControl::Restore(Settings&, long) { return noErr; }

CFStringRef PPDXCustomPageSizeControl::CopyCurrentControlValueString() {
  return CFStringCreateWithFormat(kCFAllocatorDefault, nullptr, CFSTR("%f %f"), double(mWidth),
                                  double(mHeight));
}

void PPDXCustomPageSizeControl::SetCurrentControlWithCFString(CFStringRef value) {
  if (value == nullptr) return;
  mWidth = float(CFStringGetDoubleValue(value));
  const CFRange space = CFStringFind(value, CFSTR(" "), 0);
  if (space.location == kCFNotFound) {
    mHeight = float(CFStringGetDoubleValue(value));
    return;
  }
  const CFIndex start = space.location + space.length;
  CFRef<CFStringRef> rest(CFStringCreateWithSubstring(
      kCFAllocatorDefault, value, CFRangeMake(start, CFStringGetLength(value) - start)));
  if (rest) mHeight = float(CFStringGetDoubleValue(rest.get()));
}

short PPDXCustomPageSizeControl::Save(Settings&, long) { return noErr; }
