#pragma once
// Interface files: Resources/<name>.ui of a bundle, GtkBuilder XML (see
// doc/toolkit-ui.md for how its objects map to windows and controls). The
// whole file is read and checked when the reference is made; a malformed file
// gives kIBCarbonRuntimeCantFindNibFile and one "file:line: what" line on
// standard error.

#include "cf/CFBundle.h"
#include "toolkit/MacWindows.h"

typedef struct OpaqueIBNibRef* IBNibRef;

OSStatus CreateNibReferenceWithCFBundle(CFBundleRef bundle, CFStringRef nibName, IBNibRef* outNib);
void DisposeNibReference(IBNibRef nib);
// A new, hidden window; kIBCarbonRuntimeCantFindObject when the file has none of that name.
OSStatus CreateWindowFromNib(IBNibRef nib, CFStringRef windowName, WindowRef* outWindow);
