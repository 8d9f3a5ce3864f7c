#pragma once
// Windows: made from an interface file or by the program, shown, moved, sized,
// run modally and disposed. Bounds are the content area in screen coordinates.

#include "cf/CFString.h"
#include "toolkit/CarbonEvents.h"

typedef UInt32 WindowClass;
typedef UInt32 WindowAttributes;
enum : WindowClass {
  kMovableModalWindowClass = 3,
  kDocumentWindowClass = 6,
  kSheetWindowClass = 11,
  kSheetAlertWindowClass = 15,
};
enum : WindowAttributes { kWindowNoAttributes = 0 };
typedef UInt32 WindowPositionMethod;
enum : WindowPositionMethod { kWindowCenterOnParentWindow = 2 };
typedef UInt16 WindowRegionCode;
enum : WindowRegionCode { kWindowStructureRgn = 32, kWindowContentRgn = 33 };

OSStatus CreateNewWindow(WindowClass windowClass, WindowAttributes attributes, const Rect* bounds,
                         WindowRef* outWindow);
// Disposes the window and every control still embedded in it.
void DisposeWindow(WindowRef window);
// Drops one reference; the last one disposes.
OSStatus ReleaseWindow(WindowRef window);
void ShowWindow(WindowRef window);
void HideWindow(WindowRef window);
Boolean IsWindowVisible(WindowRef window);
// Brings the window to the front.
void SelectWindow(WindowRef window);
OSStatus ShowSheetWindow(WindowRef sheet, WindowRef parent);
OSStatus HideSheetWindow(WindowRef sheet);
// errInvalidWindowRef for a window that is not shown as a sheet.
OSStatus GetSheetWindowParent(WindowRef sheet, WindowRef* outParent);
OSStatus GetWindowClass(WindowRef window, WindowClass* outClass);
OSStatus GetWindowBounds(WindowRef window, WindowRegionCode region, Rect* outBounds);
void MoveWindow(WindowRef window, short h, short v, Boolean front);
void SizeWindow(WindowRef window, short width, short height, Boolean update);
// Moves the window to the middle of its parent window, kept on the main
// display where it fits; paramErr for other methods.
OSStatus RepositionWindow(WindowRef window, WindowRef parentWindow, WindowPositionMethod method);
OSStatus SetWindowTitleWithCFString(WindowRef window, CFStringRef title);
EventTargetRef GetWindowEventTarget(WindowRef window);
GrafPtr GetWindowPort(WindowRef window);

// Runs the main run loop (posted events, sources, the service browser) until
// QuitAppModalLoopForWindow names this window; loops nest and end innermost first.
OSStatus RunAppModalLoopForWindow(WindowRef window);
OSStatus QuitAppModalLoopForWindow(WindowRef window);
