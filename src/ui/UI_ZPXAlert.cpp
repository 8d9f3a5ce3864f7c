#include "ui/UI_ZPXAlert.h"

#include "carbon/TextCommon.h"
#include "plugin/BundleFunctions.h"
#include "ui/ControlUtils.h"

namespace {

constexpr SInt16 kSmallFontSize = 11;

// A new platform string of the bytes, or null for none.
CFStringRef CreateText(const char* bytes) {
  return bytes != nullptr ? CFStringCreateWithCString(nullptr, bytes, GetApplicationTextEncoding())
                          : nullptr;
}

CFStringRef Retained(CFStringRef text) {
  if (text != nullptr) CFRetain(text);
  return text;
}

}  // namespace

UI_ZPXAlert::UI_ZPXAlert(CFStringRef firstLine, CFStringRef secondLine, UInt32 flags,
                         WindowRef parent, CFStringRef okTitle, CFStringRef cancelTitle)
    : UI_DialogWait(parent), mFlags(flags) {
  if (firstLine == nullptr) return;
  mFirstLine.reset(Retained(firstLine));
  mSecondLine.reset(Retained(secondLine));
  Build(okTitle, cancelTitle);
}

UI_ZPXAlert::UI_ZPXAlert(const char* firstLine, const char* secondLine, UInt32 flags,
                         WindowRef parent, const char* okTitle, const char* cancelTitle)
    : UI_DialogWait(parent), mFlags(flags) {
  mFirstLine.reset(CreateText(firstLine));
  if (!mFirstLine) return;
  mSecondLine.reset(CreateText(secondLine));
  CFRef<CFStringRef> ok(CreateText(okTitle));
  CFRef<CFStringRef> cancel(CreateText(cancelTitle));
  Build(ok.get(), cancel.get());
}

UI_ZPXAlert::~UI_ZPXAlert() {
  removeEventHandler();
  if (mWindow != nullptr) DisposeWindow(mWindow);
  if (mNib != nullptr) DisposeNibReference(mNib);
}

void UI_ZPXAlert::Build(CFStringRef okTitle, CFStringRef cancelTitle) {
  if (!OpenWindow()) return;
  installEventHandler(mWindow);
  SetUpButtons(okTitle, cancelTitle);
  PutLine(1, mFirstLine.get(), (mFlags & kFirstLineSmall) != 0);
  if (mSecondLine) PutLine(2, mSecondLine.get(), (mFlags & kSecondLineSmall) != 0);
  mBuilt = true;
}

bool UI_ZPXAlert::OpenWindow() {
  CFBundleRef bundle = GetBundleRef();
  if (bundle == nullptr || CreateNibReferenceWithCFBundle(bundle, CFSTR("AlertUI"), &mNib) != noErr)
    return false;
  WindowClass parentClass = 0;
  const bool overDocument = mParent != nullptr && GetWindowClass(mParent, &parentClass) == noErr &&
                            parentClass != kSheetWindowClass &&
                            parentClass != kSheetAlertWindowClass;
  CFStringRef name = mSecondLine ? (overDocument ? CFSTR("Two Line Sheet") : CFSTR("Two Line"))
                                 : (overDocument ? CFSTR("One Line Sheet") : CFSTR("One Line"));
  if (CreateWindowFromNib(mNib, name, &mWindow) != noErr) {
    mWindow = nullptr;
    return false;
  }
  return true;
}

void UI_ZPXAlert::SetUpButtons(CFStringRef okTitle, CFStringRef cancelTitle) {
  if ((mFlags & (kCancelHidden | kStandardButtons)) != 0) {
    setStandardButtonTitles();
    if ((mFlags & kCancelHidden) != 0)
      SetControlVisibility(getControlByID(kCancelButton, 1), false, false);
  } else if ((mFlags & kYesNoButtons) != 0) {
    TitleButtons(CFSTR("Yes"), CFSTR("No"));
  }
  if (okTitle != nullptr) ControlUtils::SetControlTitle(getControlByID(kOKButton, 1), okTitle);
  if (cancelTitle != nullptr)
    ControlUtils::SetControlTitle(getControlByID(kCancelButton, 1), cancelTitle);
}

void UI_ZPXAlert::PutLine(SInt32 number, CFStringRef text, bool small) {
  ControlRef line = getControlByID(kLineSignature, number);
  if (line == nullptr) return;
  ControlUtils::SetControlTitle(line, text);
  if (small) setFontInfo(line, -1, kSmallFontSize, -1);
}
