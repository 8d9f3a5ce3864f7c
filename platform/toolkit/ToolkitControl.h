#pragma once
// The object behind ControlRef. A control owns what it embeds; its bounds are
// in its window's coordinates.

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "toolkit/Controls.h"
#include "toolkit/EventTarget.h"
#include "toolkit/ListView.h"
#include "toolkit/PaneDrawing.h"
#include "toolkit/ToolkitMenu.h"

// The key a push button answers to besides a click.
enum class KeyEquivalent { kNone, kReturn, kEscape };

// A column of a list view: the property it shows, and its heading.
struct ListColumn {
  UInt32 property;
  std::string title;
};

struct OpaqueControlRef {
  OpaqueControlRef(OSType kind, WindowRef window, const Rect& bounds);
  ~OpaqueControlRef();
  OpaqueControlRef(const OpaqueControlRef&) = delete;
  OpaqueControlRef& operator=(const OpaqueControlRef&) = delete;

  bool Embeds() const { return mKind == kControlKindUserPane; }
  // Visible and enabled up to the root: only such controls take user events.
  bool IsShown() const;
  // The part a click inside the control hits.
  ControlPartCode ClickPart() const;
  void MoveBy(short dh, short dv);
  // Sets owner and ID index entries for this subtree.
  void SetOwner(WindowRef window);
  void Detach();
  void Adopt(ControlRef child);
  // Changes value, minimum or maximum keeping minimum <= value <= maximum;
  // tells the handlers when anything changed.
  void SetRange(SInt32 value, SInt32 minimum, SInt32 maximum);

  OSType mKind;
  WindowRef mWindow;
  ControlRef mParent = nullptr;
  std::vector<ControlRef> mChildren;
  Rect mBounds;
  ControlID mID = {0, 0};
  bool mVisible = true;
  bool mEnabled = true;
  bool mActive = true;
  ControlPartCode mHilite = kControlNoPart;
  SInt32 mValue = 0;
  SInt32 mMinimum = 0;
  SInt32 mMaximum = 0;
  std::string mText;     // title or text, UTF-8
  std::string mHelpTag;  // UTF-8; empty: none
  UInt32 mCommandID = 0;
  SInt32 mReference = 0;
  KeyEquivalent mKeyEquivalent = KeyEquivalent::kNone;
  ControlUserPaneDrawUPP mDrawProc = nullptr;
  std::map<OSType, std::vector<UInt8>> mData;
  std::map<std::pair<OSType, OSType>, std::vector<UInt8>> mProperties;
  std::unique_ptr<OpaqueMenuRef> mMenu;
  std::vector<ListColumn> mColumns;
  std::unique_ptr<ListView> mList;
  std::vector<PaneDrawing> mDrawn;  // by the last draw
  unsigned mDraws = 0;  // how many draws made mDrawn: a screen shows it again when this moves on
  OpaqueEventTargetRef mTarget;
};
