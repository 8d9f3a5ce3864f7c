#pragma once
// The run loop of a thread: objects scheduled on it (the network service
// browser, run-loop sources, the toolkit's posted-event queue) deliver their
// events only while the thread runs the loop, one at a time and on that thread.
// Other threads (the DNS-SD client) only signal it. The toolkit's event loop and
// modal loops run this same loop.

#include "cf/CFBase.h"
#include "cf/CFString.h"

typedef double CFTimeInterval;
typedef struct __CFRunLoop* CFRunLoopRef;
typedef struct __CFRunLoopSource* CFRunLoopSourceRef;

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

// The loop of the process's main thread; not to be released.
CFRunLoopRef CFRunLoopGetMain();
// Makes a loop waiting in CFRunLoopRunInMode look at its sources again.
void CFRunLoopWakeUp(CFRunLoopRef loop);

// A source the program signals itself: once signalled, its perform callback
// runs on the next pass of every loop it is added to (once per signal batch).
struct CFRunLoopSourceContext {
  CFIndex version;  // 0
  void* info;
  const void* (*retain)(const void* info);
  void (*release)(const void* info);
  CFStringRef (*copyDescription)(const void* info);
  Boolean (*equal)(const void* info1, const void* info2);
  CFHashCode (*hash)(const void* info);
  void (*schedule)(void* info, CFRunLoopRef loop, CFStringRef mode);
  void (*cancel)(void* info, CFRunLoopRef loop, CFStringRef mode);
  void (*perform)(void* info);
};

// Null unless the context is of version 0 with a perform callback.
CFRunLoopSourceRef CFRunLoopSourceCreate(CFAllocatorRef allocator, CFIndex order,
                                         CFRunLoopSourceContext* context);
void CFRunLoopAddSource(CFRunLoopRef loop, CFRunLoopSourceRef source, CFStringRef mode);
void CFRunLoopRemoveSource(CFRunLoopRef loop, CFRunLoopSourceRef source, CFStringRef mode);
void CFRunLoopSourceSignal(CFRunLoopSourceRef source);
