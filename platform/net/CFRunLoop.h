#pragma once
// The run loop of a thread, as far as the network service browser needs one:
// objects scheduled on it deliver their events only while the thread runs the
// loop, one at a time and on that thread. Other threads (the DNS-SD client)
// only signal it.

#include "cf/CFBase.h"
#include "cf/CFString.h"

typedef double CFTimeInterval;
typedef struct __CFRunLoop* CFRunLoopRef;

// The mode in which a run is made; objects scheduled in the common modes run
// in every mode. Made on first use, like every constant string, so that
// loading a library that names them allocates nothing.
#define kCFRunLoopDefaultMode CFSTR("kCFRunLoopDefaultMode")
#define kCFRunLoopCommonModes CFSTR("kCFRunLoopCommonModes")

enum : SInt32 {
  kCFRunLoopRunFinished = 1,  // nothing is scheduled in the mode
  kCFRunLoopRunStopped = 2,
  kCFRunLoopRunTimedOut = 3,
  kCFRunLoopRunHandledSource = 4,
};

// The calling thread's run loop; not to be released.
CFRunLoopRef CFRunLoopGetCurrent();

// Runs the calling thread's loop in `mode` for up to `seconds` (0: only what
// is already waiting), or until one event was handled when asked to return
// after one.
SInt32 CFRunLoopRunInMode(CFStringRef mode, CFTimeInterval seconds,
                          Boolean returnAfterSourceHandled);
