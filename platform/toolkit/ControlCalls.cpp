// The control calls over the process's toolkit model.

#include <algorithm>
#include <cstring>
#include <utility>

#include "cf/CFStringObject.h"
#include "cf/CFText.h"
#include "toolkit/EventRouting.h"
#include "toolkit/ToolkitModel.h"
#include "toolkit/ToolkitWindow.h"

namespace {

bool Live(ControlRef control) { return control && ToolkitModel::Shared().IsLive(control); }

OSStatus CreateInRoot(WindowRef window, const Rect* bounds, OSType kind, CFStringRef text,
                      ControlRef* outControl) {
  if (!ToolkitModel::Shared().IsLive(window) || !bounds || !outControl) return paramErr;
  if (!window->mRoot) return errNoRootControl;
  auto* control = new OpaqueControlRef(kind, window, *bounds);
  if (text) control->mText = __CFString::utf8Of(text);
  window->mRoot->Adopt(control);
  *outControl = control;
  return noErr;
}

}  // namespace

ControlUserPaneDrawUPP NewControlUserPaneDrawUPP(ControlUserPaneDrawProcPtr proc) { return proc; }
void DisposeControlUserPaneDrawUPP(ControlUserPaneDrawUPP) {}

OSStatus GetRootControl(WindowRef window, ControlRef* outControl) {
  if (!ToolkitModel::Shared().IsLive(window) || !outControl) return paramErr;
  *outControl = window->mRoot.get();
  return *outControl ? OSStatus(noErr) : OSStatus(errNoRootControl);
}

OSStatus CreateRootControl(WindowRef window, ControlRef* outControl) {
  if (!ToolkitModel::Shared().IsLive(window)) return paramErr;
  if (window->mRoot) return errRootAlreadyExists;
  ControlRef root = window->MakeRoot();
  if (outControl) *outControl = root;
  return noErr;
}

OSStatus CreateUserPaneControl(WindowRef window, const Rect* bounds, UInt32,
                               ControlRef* outControl) {
  return CreateInRoot(window, bounds, kControlKindUserPane, nullptr, outControl);
}

OSStatus CreateCheckBoxControl(WindowRef window, const Rect* bounds, CFStringRef title,
                               SInt32 initialValue, Boolean, ControlRef* outControl) {
  OSStatus status = CreateInRoot(window, bounds, kControlKindCheckBox, title, outControl);
  if (status == noErr) (*outControl)->mValue = std::clamp(initialValue, 0, 1);
  return status;
}

OSStatus CreateStaticTextControl(WindowRef window, const Rect* bounds, CFStringRef text,
                                 const ControlFontStyleRec* style, ControlRef* outControl) {
  OSStatus status = CreateInRoot(window, bounds, kControlKindStaticText, text, outControl);
  if (status == noErr && style)
    SetControlData(*outControl, kControlEntireControl, kControlFontStyleTag, sizeof *style, style);
  return status;
}

OSStatus CreatePushButtonControl(WindowRef window, const Rect* bounds, CFStringRef title,
                                 ControlRef* outControl) {
  return CreateInRoot(window, bounds, kControlKindPushButton, title, outControl);
}

OSStatus CreateSeparatorControl(WindowRef window, const Rect* bounds, ControlRef* outControl) {
  return CreateInRoot(window, bounds, kControlKindSeparator, nullptr, outControl);
}

OSStatus CreatePopupButtonControl(WindowRef window, const Rect* bounds, CFStringRef title, SInt16,
                                  Boolean, SInt16, SInt16, UInt8, ControlRef* outControl) {
  return CreateInRoot(window, bounds, kControlKindPopupButton, title, outControl);
}

OSStatus CreateEditUnicodeTextControl(WindowRef window, const Rect* bounds, CFStringRef text,
                                      Boolean, const ControlFontStyleRec* style,
                                      ControlRef* outControl) {
  OSStatus status = CreateInRoot(window, bounds, kControlKindEditText, text, outControl);
  if (status == noErr && style)
    SetControlData(*outControl, kControlEntireControl, kControlFontStyleTag, sizeof *style, style);
  return status;
}

namespace {

OSStatus SetKeyButton(WindowRef window, ControlRef button, KeyEquivalent key) {
  if (!ToolkitModel::Shared().IsLive(window)) return errInvalidWindowRef;
  if (button && (!Live(button) || button->mWindow != window)) return errUnknownControl;
  if (ControlRef previous = window->ButtonFor(key)) previous->mKeyEquivalent = KeyEquivalent::kNone;
  if (button) button->mKeyEquivalent = key;
  return noErr;
}

}  // namespace

OSStatus SetWindowDefaultButton(WindowRef window, ControlRef button) {
  return SetKeyButton(window, button, KeyEquivalent::kReturn);
}

OSStatus SetWindowCancelButton(WindowRef window, ControlRef button) {
  return SetKeyButton(window, button, KeyEquivalent::kEscape);
}

void DisposeControl(ControlRef control) {
  if (!Live(control) || control == control->mWindow->mRoot.get()) return;
  control->Detach();
  delete control;
}

OSStatus EmbedControl(ControlRef control, ControlRef container) {
  if (!Live(control) || !Live(container) || control == container) return errUnknownControl;
  if (!container->Embeds() || control == control->mWindow->mRoot.get())
    return errControlIsNotEmbedder;  // a root stays its window's
  for (ControlRef above = container; above; above = above->mParent)
    if (above == control) return errControlIsNotEmbedder;  // would embed itself
  container->Adopt(control);
  return noErr;
}

OSStatus CountSubControls(ControlRef control, UInt16* outNumChildren) {
  if (!Live(control) || !outNumChildren) return errUnknownControl;
  if (!control->Embeds()) return errControlIsNotEmbedder;
  *outNumChildren = UInt16(std::min<size_t>(control->mChildren.size(), UINT16_MAX));
  return noErr;
}

OSStatus GetIndexedSubControl(ControlRef control, UInt16 index, ControlRef* outSubControl) {
  if (!Live(control) || !outSubControl) return errUnknownControl;
  if (!control->Embeds()) return errControlIsNotEmbedder;
  if (index < 1 || index > control->mChildren.size()) return paramErr;
  *outSubControl = control->mChildren[index - 1];
  return noErr;
}

OSStatus GetControlID(ControlRef control, ControlID* outID) {
  if (!Live(control) || !outID) return errUnknownControl;
  *outID = control->mID;
  return noErr;
}

OSStatus SetControlID(ControlRef control, const ControlID* id) {
  if (!Live(control) || !id) return errUnknownControl;
  control->mWindow->Unindex(control);
  control->mID = *id;
  control->mWindow->Index(control);
  return noErr;
}

OSStatus GetControlByID(WindowRef window, const ControlID* id, ControlRef* outControl) {
  if (!ToolkitModel::Shared().IsLive(window) || !id || !outControl) return paramErr;
  *outControl = window->Find(*id);
  return *outControl ? OSStatus(noErr) : OSStatus(errUnknownControl);
}

OSStatus GetControlKind(ControlRef control, ControlKind* outKind) {
  if (!Live(control) || !outKind) return errUnknownControl;
  *outKind = {kControlKindSignatureApple, control->mKind};
  return noErr;
}

WindowRef GetControlOwner(ControlRef control) { return Live(control) ? control->mWindow : nullptr; }

EventTargetRef GetControlEventTarget(ControlRef control) {
  return Live(control) ? &control->mTarget : nullptr;
}

OSStatus SetControlCommandID(ControlRef control, UInt32 commandID) {
  if (!Live(control)) return errUnknownControl;
  control->mCommandID = commandID;
  return noErr;
}

OSStatus GetControlCommandID(ControlRef control, UInt32* outCommandID) {
  if (!Live(control) || !outCommandID) return errUnknownControl;
  *outCommandID = control->mCommandID;
  return noErr;
}

void SetControlReference(ControlRef control, SInt32 data) {
  if (Live(control)) control->mReference = data;
}

SInt32 GetControlReference(ControlRef control) { return Live(control) ? control->mReference : 0; }

OSStatus SetControlProperty(ControlRef control, OSType creator, OSType tag, ByteCount size,
                            const void* data) {
  if (!Live(control) || (size > 0 && !data)) return paramErr;
  const UInt8* bytes = static_cast<const UInt8*>(data);
  control->mProperties[{creator, tag}] = std::vector<UInt8>(bytes, bytes + size);
  return noErr;
}

OSStatus GetControlProperty(ControlRef control, OSType creator, OSType tag, ByteCount bufferSize,
                            ByteCount* outActualSize, void* outData) {
  if (!Live(control)) return paramErr;
  auto found = control->mProperties.find({creator, tag});
  if (found == control->mProperties.end()) return controlPropertyNotFoundErr;
  const std::vector<UInt8>& bytes = found->second;
  if (outActualSize) *outActualSize = ByteCount(bytes.size());
  if (outData) {
    if (bufferSize < bytes.size()) return paramErr;
    std::memcpy(outData, bytes.data(), bytes.size());
  }
  return noErr;
}

OSStatus SetControlData(ControlRef control, ControlPartCode, OSType tag, Size size,
                        const void* data) {
  if (!Live(control) || size < 0 || (size > 0 && !data)) return paramErr;
  if (tag == kControlStaticTextCFStringTag) {
    if (size != sizeof(CFStringRef)) return paramErr;
    control->mText = __CFString::utf8Of(*static_cast<const CFStringRef*>(data));
  } else if (tag == kControlStaticTextTextTag) {
    control->mText.assign(static_cast<const char*>(data), size_t(size));
  } else if (tag == kControlUserPaneDrawProcTag) {
    if (size != sizeof(ControlUserPaneDrawUPP)) return paramErr;
    control->mDrawProc = *static_cast<const ControlUserPaneDrawUPP*>(data);
  } else if (tag == kControlFontStyleTag) {
    const UInt8* bytes = static_cast<const UInt8*>(data);
    control->mData[tag] = std::vector<UInt8>(bytes, bytes + size);
  } else {
    return errDataNotSupported;
  }
  return noErr;
}

OSStatus GetControlDataSize(ControlRef control, ControlPartCode, OSType tag, Size* outSize) {
  if (!Live(control) || !outSize) return paramErr;
  if (tag == kControlStaticTextCFStringTag) {
    *outSize = sizeof(CFStringRef);
  } else if (tag == kControlStaticTextTextTag) {
    *outSize = Size(control->mText.size());
  } else if (tag == kControlUserPaneDrawProcTag) {
    *outSize = sizeof(ControlUserPaneDrawUPP);
  } else {
    auto found = control->mData.find(tag);
    if (found == control->mData.end()) return errDataNotSupported;
    *outSize = Size(found->second.size());
  }
  return noErr;
}

OSStatus GetControlData(ControlRef control, ControlPartCode part, OSType tag, Size bufferSize,
                        void* outData, Size* outActualSize) {
  Size size = 0;
  OSStatus status = GetControlDataSize(control, part, tag, &size);
  if (status != noErr) return status;
  if (outActualSize) *outActualSize = size;
  if (!outData) return noErr;
  if (tag == kControlStaticTextCFStringTag) {
    if (bufferSize < size) return paramErr;
    *static_cast<CFStringRef*>(outData) = CreateText(control->mText);
  } else if (tag == kControlStaticTextTextTag) {
    std::memcpy(outData, control->mText.data(), size_t(std::min(bufferSize, size)));
  } else if (tag == kControlUserPaneDrawProcTag) {
    if (bufferSize < size) return paramErr;
    *static_cast<ControlUserPaneDrawUPP*>(outData) = control->mDrawProc;
  } else {
    std::memcpy(outData, control->mData[tag].data(), size_t(std::min(bufferSize, size)));
  }
  return noErr;
}

Rect* GetControlBounds(ControlRef control, Rect* outBounds) {
  if (!Live(control) || !outBounds) return outBounds;
  *outBounds = control->mBounds;
  return outBounds;
}

void SetControlBounds(ControlRef control, const Rect* bounds) {
  if (!Live(control) || !bounds) return;
  control->MoveBy(short(bounds->left - control->mBounds.left),
                  short(bounds->top - control->mBounds.top));
  control->mBounds = *bounds;
}

OSStatus SetControlVisibility(ControlRef control, Boolean visible, Boolean) {
  if (!Live(control)) return errUnknownControl;
  control->mVisible = visible;
  return noErr;
}

Boolean IsControlVisible(ControlRef control) {
  if (!Live(control)) return false;
  for (ControlRef above = control; above; above = above->mParent)
    if (!above->mVisible) return false;
  return true;
}

void ShowControl(ControlRef control) { SetControlVisibility(control, true, true); }
void HideControl(ControlRef control) { SetControlVisibility(control, false, true); }

OSStatus EnableControl(ControlRef control) {
  if (!Live(control)) return errUnknownControl;
  control->mEnabled = true;
  return noErr;
}

OSStatus DisableControl(ControlRef control) {
  if (!Live(control)) return errUnknownControl;
  control->mEnabled = false;
  return noErr;
}

Boolean IsControlEnabled(ControlRef control) { return Live(control) && control->mEnabled; }

OSStatus ActivateControl(ControlRef control) {
  if (!Live(control)) return errUnknownControl;
  control->mActive = true;
  return noErr;
}

void HiliteControl(ControlRef control, ControlPartCode part) {
  if (Live(control)) control->mHilite = part;
}

OSStatus SetKeyboardFocus(WindowRef window, ControlRef control, ControlPartCode) {
  if (!ToolkitModel::Shared().IsLive(window)) return errInvalidWindowRef;
  if (control && (!Live(control) || control->mWindow != window)) return errUnknownControl;
  window->mFocus = control;
  return noErr;
}

void Draw1Control(ControlRef control) {
  if (!IsControlVisible(control)) return;
  ToolkitModel& model = ToolkitModel::Shared();
  ControlRef outer = std::exchange(model.mDrawing, control);
  control->mDrawn.clear();
  ++control->mDraws;
  EventRouting::SendControlEvent(control, kEventControlDraw, kControlNoPart);
  model.mDrawing = model.IsLive(outer) ? outer : nullptr;
}

SInt16 GetControlValue(ControlRef control) {
  return SInt16(std::clamp<SInt32>(GetControl32BitValue(control), INT16_MIN, INT16_MAX));
}

void SetControlValue(ControlRef control, SInt16 value) { SetControl32BitValue(control, value); }

SInt32 GetControl32BitValue(ControlRef control) { return Live(control) ? control->mValue : 0; }

void SetControl32BitValue(ControlRef control, SInt32 value) {
  if (Live(control)) control->SetRange(value, control->mMinimum, control->mMaximum);
}

SInt32 GetControl32BitMinimum(ControlRef control) { return Live(control) ? control->mMinimum : 0; }

void SetControl32BitMinimum(ControlRef control, SInt32 minimum) {
  if (Live(control))
    control->SetRange(control->mValue, minimum, std::max(minimum, control->mMaximum));
}

SInt32 GetControl32BitMaximum(ControlRef control) { return Live(control) ? control->mMaximum : 0; }

void SetControl32BitMaximum(ControlRef control, SInt32 maximum) {
  if (Live(control))
    control->SetRange(control->mValue, std::min(maximum, control->mMinimum), maximum);
}

void SetControlMaximum(ControlRef control, SInt16 maximum) {
  SetControl32BitMaximum(control, maximum);
}

OSStatus SetControlTitleWithCFString(ControlRef control, CFStringRef title) {
  if (!Live(control) || !title) return paramErr;
  control->mText = __CFString::utf8Of(title);
  return noErr;
}

OSStatus CopyControlTitleAsCFString(ControlRef control, CFStringRef* outTitle) {
  if (!Live(control) || !outTitle) return paramErr;
  *outTitle = CreateText(control->mText);
  return noErr;
}
