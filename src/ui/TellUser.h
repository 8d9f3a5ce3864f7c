#pragma once
// Tells the user something in an alert and waits for the answer.

#include "toolkit/MacWindows.h"

// What TellUser answers, without showing anything, when the alert cannot be built.
constexpr UInt32 kAlertNotShown = FourCC("canc");

// Shows the alert (see UI_ZPXAlert), waits, and answers the command that
// ended it: UI_DialogWait::kOKCommand or kCancelCommand.
UInt32 TellUser(CFStringRef firstLine, CFStringRef secondLine, UInt32 flags, WindowRef parent,
                CFStringRef okTitle, CFStringRef cancelTitle);
UInt32 TellUser(CFStringRef firstLine, CFStringRef secondLine, UInt32 flags, WindowRef parent);
UInt32 TellUser(CFStringRef firstLine, UInt32 flags, WindowRef parent);
