#pragma once
// Help tags: the short text a control shows when the pointer rests on it,
// telling what it does or why it cannot be used now.

#include "cf/CFString.h"
#include "toolkit/Controls.h"

typedef OSType HMContentType;
enum : HMContentType {
  kHMNoContent = FourCC("none"),
  kHMCFStringContent = FourCC("cfst"),
};

typedef SInt16 HMTagDisplaySide;
enum : HMTagDisplaySide { kHMDefaultSide = 0 };

enum : SInt32 { kMacHelpVersion = 3 };
// The tag shown, and the longer one shown while the command key is down.
enum { kHMMinimumContentIndex = 0, kHMMaximumContentIndex = 1 };

struct HMHelpContent {
  HMContentType contentType;
  union {
    CFStringRef tagCFString;
  } u;
};

struct HMHelpContentRec {
  SInt32 version;
  Rect absHotRect;
  HMTagDisplaySide tagSide;
  HMHelpContent content[2];
};

// The control's tag becomes the text of content[kHMMinimumContentIndex]; no
// content (null, kHMNoContent or a null string) takes the tag away. The text
// is copied. paramErr for a control that is gone or another kind of content.
OSStatus HMSetControlHelpContent(ControlRef control, const HMHelpContentRec* content);
