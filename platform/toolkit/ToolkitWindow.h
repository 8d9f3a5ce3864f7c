#pragma once
// The object behind WindowRef: class, bounds, title, its root control and the
// index that finds a control by ID in constant time.

#include <memory>
#include <string>
#include <unordered_map>

#include "toolkit/MacWindows.h"
#include "toolkit/ToolkitControl.h"

struct OpaqueWindowPtr {
  OpaqueWindowPtr(WindowClass windowClass, const Rect& bounds)
      : mClass(windowClass), mBounds(bounds), mTarget(nullptr, this) {}
  ~OpaqueWindowPtr();
  OpaqueWindowPtr(const OpaqueWindowPtr&) = delete;
  OpaqueWindowPtr& operator=(const OpaqueWindowPtr&) = delete;

  ControlRef MakeRoot();
  void Index(ControlRef control);
  void Unindex(ControlRef control);
  ControlRef Find(const ControlID& id) const;
  // The enabled, visible push button that answers the key, or null.
  ControlRef ButtonFor(KeyEquivalent key) const;

  WindowClass mClass;
  Rect mBounds;  // content area, screen coordinates
  std::string mTitle;
  bool mVisible = false;
  int mRetainCount = 1;
  WindowRef mSheetParent = nullptr;
  ControlRef mFocus = nullptr;
  std::unique_ptr<OpaqueControlRef> mRoot;
  OpaqueEventTargetRef mTarget;

 private:
  static UInt64 Key(const ControlID& id) { return (UInt64(id.signature) << 32) | UInt32(id.id); }
  ControlRef FindInTree(ControlRef from, const ControlID& id, ControlRef except) const;
  std::unordered_map<UInt64, ControlRef> mIndex;
};
