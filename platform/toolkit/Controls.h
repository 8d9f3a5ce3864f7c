#pragma once
// Controls: the tree of views in a window, addressed by ID (signature and
// number), with values, titles, data by tag and properties by creator and tag.

#include "cf/CFString.h"
#include "toolkit/CarbonEvents.h"

struct ControlID {
  OSType signature;
  SInt32 id;
};

struct ControlKind {
  OSType signature;
  OSType kind;
};

enum : OSType {
  kControlKindSignatureApple = FourCC("appl"),
  kControlKindStaticText = FourCC("stxt"),
  kControlKindPushButton = FourCC("push"),
  kControlKindCheckBox = FourCC("cbox"),
  kControlKindPopupButton = FourCC("popb"),
  kControlKindEditText = FourCC("etxt"),
  kControlKindUserPane = FourCC("upan"),
  kControlKindScrollBar = FourCC("sbar"),
  kControlKindSeparator = FourCC("sepa"),
  kControlKindDataBrowser = FourCC("datb"),
};

enum : ControlPartCode {
  kControlNoPart = 0,
  kControlEntireControl = 0,
  kControlMenuPart = 2,
  kControlEditTextPart = 5,
  kControlButtonPart = 10,
  kControlCheckBoxPart = 11,
  kControlUpButtonPart = 20,
  kControlDownButtonPart = 21,
  kControlPageUpPart = 22,
  kControlPageDownPart = 23,
  kControlIndicatorPart = 129,
  kControlInactivePart = 255,
};

typedef OSType ControlData;
enum : OSType {
  kControlFontStyleTag = FourCC("font"),
  kControlStaticTextTextTag = FourCC("text"),
  kControlStaticTextCFStringTag = FourCC("cfst"),
  kControlEditTextTextTag = FourCC("text"),
  kControlEditTextCFStringTag = FourCC("cfst"),
  kControlUserPaneDrawProcTag = FourCC("draw"),
};

struct ControlFontStyleRec {
  SInt16 flags;
  SInt16 font;
  SInt16 size;
  SInt16 style;
  SInt16 mode;
  SInt16 just;
  UInt16 foreColor[3];
  UInt16 backColor[3];
};

typedef void (*ControlUserPaneDrawProcPtr)(ControlRef control, ControlPartCode part);
typedef ControlUserPaneDrawProcPtr ControlUserPaneDrawUPP;
ControlUserPaneDrawUPP NewControlUserPaneDrawUPP(ControlUserPaneDrawProcPtr proc);
void DisposeControlUserPaneDrawUPP(ControlUserPaneDrawUPP upp);

OSStatus GetRootControl(WindowRef window, ControlRef* outControl);
OSStatus CreateRootControl(WindowRef window, ControlRef* outControl);
// The Create calls embed the new control in the window's root control.
OSStatus CreateUserPaneControl(WindowRef window, const Rect* bounds, UInt32 features,
                               ControlRef* outControl);
OSStatus CreateCheckBoxControl(WindowRef window, const Rect* bounds, CFStringRef title,
                               SInt32 initialValue, Boolean autoToggle, ControlRef* outControl);
OSStatus CreateStaticTextControl(WindowRef window, const Rect* bounds, CFStringRef text,
                                 const ControlFontStyleRec* style, ControlRef* outControl);
OSStatus CreatePushButtonControl(WindowRef window, const Rect* bounds, CFStringRef title,
                                 ControlRef* outControl);
OSStatus CreateSeparatorControl(WindowRef window, const Rect* bounds, ControlRef* outControl);
// A pop-up button with an empty menu of its own (the menu ID is not looked up).
OSStatus CreatePopupButtonControl(WindowRef window, const Rect* bounds, CFStringRef title,
                                  SInt16 menuID, Boolean variableWidth, SInt16 titleWidth,
                                  SInt16 titleJustification, UInt8 titleStyle,
                                  ControlRef* outControl);
OSStatus CreateEditUnicodeTextControl(WindowRef window, const Rect* bounds, CFStringRef text,
                                      Boolean isPassword, const ControlFontStyleRec* style,
                                      ControlRef* outControl);
// The push buttons that Return and Escape press (null: none).
OSStatus SetWindowDefaultButton(WindowRef window, ControlRef button);
OSStatus SetWindowCancelButton(WindowRef window, ControlRef button);
void DisposeControl(ControlRef control);
// Moves the control, with what it embeds, into `container` (of any window).
OSStatus EmbedControl(ControlRef control, ControlRef container);
// The controls a container embeds, in embedding order; the index counts from 1.
OSStatus CountSubControls(ControlRef control, UInt16* outNumChildren);
OSStatus GetIndexedSubControl(ControlRef control, UInt16 index, ControlRef* outSubControl);

OSStatus GetControlID(ControlRef control, ControlID* outID);
OSStatus SetControlID(ControlRef control, const ControlID* id);
OSStatus GetControlByID(WindowRef window, const ControlID* id, ControlRef* outControl);
OSStatus GetControlKind(ControlRef control, ControlKind* outKind);
WindowRef GetControlOwner(ControlRef control);
EventTargetRef GetControlEventTarget(ControlRef control);
OSStatus SetControlCommandID(ControlRef control, UInt32 commandID);
OSStatus GetControlCommandID(ControlRef control, UInt32* outCommandID);
void SetControlReference(ControlRef control, SInt32 data);
SInt32 GetControlReference(ControlRef control);

OSStatus SetControlProperty(ControlRef control, OSType creator, OSType tag, ByteCount size,
                            const void* data);
OSStatus GetControlProperty(ControlRef control, OSType creator, OSType tag, ByteCount bufferSize,
                            ByteCount* outActualSize, void* outData);
// The platform-string tags take and give a CFStringRef (the one given is the caller's).
OSStatus SetControlData(ControlRef control, ControlPartCode part, OSType tag, Size size,
                        const void* data);
OSStatus GetControlData(ControlRef control, ControlPartCode part, OSType tag, Size bufferSize,
                        void* outData, Size* outActualSize);
OSStatus GetControlDataSize(ControlRef control, ControlPartCode part, OSType tag, Size* outSize);

// Bounds are in window coordinates; moving a control moves what it embeds.
Rect* GetControlBounds(ControlRef control, Rect* outBounds);
void SetControlBounds(ControlRef control, const Rect* bounds);
OSStatus SetControlVisibility(ControlRef control, Boolean visible, Boolean draw);
// Visible only when every container above it is visible too.
Boolean IsControlVisible(ControlRef control);
void ShowControl(ControlRef control);
void HideControl(ControlRef control);
OSStatus EnableControl(ControlRef control);
OSStatus DisableControl(ControlRef control);
Boolean IsControlEnabled(ControlRef control);
OSStatus ActivateControl(ControlRef control);
void HiliteControl(ControlRef control, ControlPartCode part);
OSStatus SetKeyboardFocus(WindowRef window, ControlRef control, ControlPartCode part);
void Draw1Control(ControlRef control);

// Value changes (of value, minimum or maximum) send kEventControlValueFieldChanged.
SInt16 GetControlValue(ControlRef control);
void SetControlValue(ControlRef control, SInt16 value);
SInt32 GetControl32BitValue(ControlRef control);
void SetControl32BitValue(ControlRef control, SInt32 value);
SInt32 GetControl32BitMinimum(ControlRef control);
void SetControl32BitMinimum(ControlRef control, SInt32 minimum);
SInt32 GetControl32BitMaximum(ControlRef control);
void SetControl32BitMaximum(ControlRef control, SInt32 maximum);
void SetControlMaximum(ControlRef control, SInt16 maximum);
OSStatus SetControlTitleWithCFString(ControlRef control, CFStringRef title);
OSStatus CopyControlTitleAsCFString(ControlRef control, CFStringRef* outTitle);
