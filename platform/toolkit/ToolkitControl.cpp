#include "toolkit/ToolkitControl.h"

#include <algorithm>

#include "toolkit/EventRouting.h"
#include "toolkit/ToolkitModel.h"
#include "toolkit/ToolkitWindow.h"

OpaqueControlRef::OpaqueControlRef(OSType kind, WindowRef window, const Rect& bounds)
    : mKind(kind), mWindow(window), mBounds(bounds), mTarget(this, nullptr) {
  if (kind == kControlKindPopupButton) mMenu = std::make_unique<OpaqueMenuRef>();
  if (kind == kControlKindDataBrowser) mList = std::make_unique<ListView>(this);
  if (kind == kControlKindCheckBox || kind == kControlKindScrollBar) mMaximum = 1;
  ToolkitModel::Shared().Register(this);
}

OpaqueControlRef::~OpaqueControlRef() {
  for (ControlRef child : mChildren) {
    child->mParent = nullptr;
    delete child;
  }
  if (mWindow) {
    mWindow->Unindex(this);
    if (mWindow->mFocus == this) mWindow->mFocus = nullptr;
  }
  ToolkitModel& model = ToolkitModel::Shared();
  if (model.mDrawing == this) model.mDrawing = nullptr;
  model.Unregister(this);
}

bool OpaqueControlRef::IsShown() const {
  for (const OpaqueControlRef* control = this; control; control = control->mParent)
    if (!control->mVisible || !control->mEnabled) return false;
  return true;
}

ControlPartCode OpaqueControlRef::ClickPart() const {
  switch (mKind) {
    case kControlKindPushButton:
      return kControlButtonPart;
    case kControlKindCheckBox:
      return kControlCheckBoxPart;
    case kControlKindPopupButton:
      return kControlMenuPart;
    case kControlKindEditText:
      return kControlEditTextPart;
    case kControlKindScrollBar:
      return kControlIndicatorPart;
    default:
      return kControlNoPart;
  }
}

void OpaqueControlRef::MoveBy(short dh, short dv) {
  OffsetRect(&mBounds, dh, dv);
  for (ControlRef child : mChildren) child->MoveBy(dh, dv);
}

void OpaqueControlRef::SetOwner(WindowRef window) {
  if (mWindow) mWindow->Unindex(this);
  if (mWindow && mWindow->mFocus == this) mWindow->mFocus = nullptr;
  mWindow = window;
  if (mWindow) mWindow->Index(this);
  for (ControlRef child : mChildren) child->SetOwner(window);
}

void OpaqueControlRef::Detach() {
  if (!mParent) return;
  auto& siblings = mParent->mChildren;
  siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
  mParent = nullptr;
}

void OpaqueControlRef::Adopt(ControlRef child) {
  child->Detach();
  child->mParent = this;
  mChildren.push_back(child);
  if (child->mWindow != mWindow) child->SetOwner(mWindow);
}

void OpaqueControlRef::SetRange(SInt32 value, SInt32 minimum, SInt32 maximum) {
  maximum = std::max(maximum, minimum);
  value = std::clamp(value, minimum, maximum);
  if (value == mValue && minimum == mMinimum && maximum == mMaximum) return;
  mValue = value;
  mMinimum = minimum;
  mMaximum = maximum;
  EventRouting::SendControlEvent(this, kEventControlValueFieldChanged, kControlNoPart);
}
