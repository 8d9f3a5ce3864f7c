#pragma once
// What the system is: the headless toolkit answers as version 10.6.

#include "carbon/MacTypes.h"

enum : OSType { gestaltSystemVersionMinor = FourCC("sys2") };
enum : SInt32 { kHeadlessSystemVersionMinor = 6 };

// gestaltUndefSelectorErr for any other selector.
OSErr Gestalt(OSType selector, SInt32* response);
