#include "ui/ControlUtils.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "carbon/TextCommon.h"
#include "cf/CFFileURL.h"
#include "cf/CFRef.h"
#include "plugin/BundleFunctions.h"
#include "toolkit/Appearance.h"
#include "toolkit/Menus.h"
#include "toolkit/QuickDraw.h"
#include "ui/LoadAnImageRef.h"

namespace {

// Controls whose font size is this draw in the small system font.
constexpr SInt16 kSmallFontSize = 11;

// The margins around a title that SizeControl leaves.
constexpr short kTextMargin = 28;
constexpr short kCheckBoxMargin = 20;
constexpr short kPopupMargin = 24;

ThemeFontID FontOf(ControlRef control) {
  ControlFontStyleRec style = {};
  GetControlData(control, kControlEntireControl, kControlFontStyleTag, sizeof style, &style,
                 nullptr);
  return style.size == kSmallFontSize ? kThemeSmallSystemFont : kThemeSystemFont;
}

short TitleWidth(ControlRef control) {
  CFStringRef raw = nullptr;
  CopyControlTitleAsCFString(control, &raw);
  CFRef<CFStringRef> title(raw);
  Point size = {0, 0};
  GetThemeTextDimensions(title ? title.get() : CFSTR(""), FontOf(control), kThemeStateActive, false,
                         &size, nullptr);
  return size.h;
}

// Gives the control `width`, keeping the left or the right edge.
void Resize(ControlRef control, short width, bool anchorLeft) {
  Rect bounds;
  GetControlBounds(control, &bounds);
  if (anchorLeft)
    bounds.right = short(bounds.left + width);
  else
    bounds.left = short(bounds.right - width);
  SetControlBounds(control, &bounds);
}

short WidthOf(ControlRef control) {
  Rect bounds;
  GetControlBounds(control, &bounds);
  return short(bounds.right - bounds.left);
}

void SizePushButton(ControlRef control, bool anchorLeft) {
  short needed = short(TitleWidth(control) + kTextMargin);
  if (needed <= WidthOf(control)) return;
  if (anchorLeft)
    Resize(control, short(std::min<short>(needed, ControlUtils::kMaxButtonTextWidth) + kTextMargin),
           true);
  else
    Resize(control, short(needed + kTextMargin), false);
}

short PopupWidth(ControlRef control) {
  int width = GetMenuWidth(GetControlPopupMenuHandle(control)) + kPopupMargin;
  return short(std::min<int>(width, ControlUtils::kMaxPopupWidth));
}

// The path of the plug-in's executable as UTF-8; empty without one.
std::string ExecutablePath() {
  CFBundleRef bundle = GetBundleRef();
  if (bundle == nullptr) return std::string();
  CFRef<CFURLRef> executable(CFBundleCopyExecutableURL(bundle));
  if (!executable) return std::string();
  CFRef<CFStringRef> path(CFURLCopyFileSystemPath(executable.get(), kCFURLPOSIXPathStyle));
  if (!path) return std::string();
  char bytes[ControlUtils::kResourcePathSize];
  if (!CFStringGetCString(path.get(), bytes, sizeof bytes, kCFStringEncodingUTF8))
    return std::string();
  return bytes;
}

}  // namespace

OSStatus ControlUtils::setControlFontInfo(ControlRef control, SInt16 font, SInt16 size,
                                          SInt16 style, SInt16 justification) {
  if (control == nullptr) return paramErr;
  ControlFontStyleRec record = {};
  GetControlData(control, kControlEntireControl, kControlFontStyleTag, sizeof record, &record,
                 nullptr);
  if (font >= 0) record.font = font;
  if (size >= 0) record.size = size;
  if (style >= 0) record.style = style;
  if (justification >= 0) record.just = justification;
  return SetControlData(control, kControlEntireControl, kControlFontStyleTag, sizeof record,
                        &record);
}

OSStatus ControlUtils::SetControlTitle(ControlRef control, CFStringRef title) {
  if (control == nullptr || title == nullptr) return paramErr;
  ControlKind kind = {};
  GetControlKind(control, &kind);
  if (kind.kind == kControlKindStaticText)
    return SetControlData(control, kControlEntireControl, kControlStaticTextCFStringTag,
                          sizeof title, &title);
  return SetControlTitleWithCFString(control, title);
}

OSStatus ControlUtils::SetControlTitle(ControlRef control, const char* title) {
  if (title == nullptr) return paramErr;
  CFRef<CFStringRef> text(CFStringCreateWithCString(nullptr, title, GetApplicationTextEncoding()));
  return SetControlTitle(control, text.get());
}

void ControlUtils::SizeControl(ControlRef control, bool anchorLeft) {
  ControlKind kind = {};
  if (control == nullptr || GetControlKind(control, &kind) != noErr) return;
  switch (kind.kind) {
    case kControlKindStaticText:
      Resize(control, short(TitleWidth(control) + kTextMargin), true);
      break;
    case kControlKindPushButton:
      SizePushButton(control, anchorLeft);
      break;
    case kControlKindCheckBox:
      Resize(control, short(TitleWidth(control) + kCheckBoxMargin), anchorLeft);
      break;
    case kControlKindPopupButton:
      Resize(control, PopupWidth(control), true);
      break;
  }
}

bool ControlUtils::GetResourceURL(char* buffer) {
  buffer[0] = '\0';
  std::string path = ExecutablePath();
  // The executable sits in Contents/MacOS; a folder above merely named like it
  // must not cut the path.
  size_t macOS = path.rfind("/MacOS/");
  if (macOS == std::string::npos) return false;
  std::string resources = path.substr(0, macOS) + "/Resources/";
  if (resources.size() >= kResourcePathSize) return false;
  std::memcpy(buffer, resources.c_str(), resources.size() + 1);
  return true;
}

void ControlUtils::DrawPNG(CGrafPtr port, ControlRef control, const char* relativePath) {
  Rect bounds;
  GetControlBounds(control, &bounds);
  char folder[kResourcePathSize];
  CFRef<CGImageRef> image;
  if (GetResourceURL(folder) && relativePath != nullptr && relativePath[0] != '\0') {
    std::string path = std::string(folder) + relativePath;
    CFRef<CFURLRef> url(CreateFileURL(path));
    image.reset(LoadAnImageRef(url.get()));
  }
  EraseRect(&bounds);
  if (!image) return;
  CGContextRef context = nullptr;
  if (QDBeginCGContext(port, &context) != noErr) return;
  CGContextDrawImage(
      context,
      CGRectMake(bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top),
      image.get());
  QDEndCGContext(port, &context);
}

bool ControlUtils::TrackClick(ControlRef control) {
  Rect bounds;
  GetControlBounds(control, &bounds);
  Point where = {0, 0};
  MouseTrackingResult result = kMouseTrackingMouseDown;
  bool inside = true;
  HiliteControl(control, kControlButtonPart);
  while (result != kMouseTrackingMouseUp) {
    if (TrackMouseLocation(nullptr, &where, &result) != noErr) break;
    inside = PtInRect(where, &bounds);
    HiliteControl(control, inside ? kControlButtonPart : kControlNoPart);
  }
  HiliteControl(control, kControlNoPart);
  return result == kMouseTrackingMouseUp && inside;
}
