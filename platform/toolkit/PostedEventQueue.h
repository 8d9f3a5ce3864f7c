#pragma once
// The main event queue: posted events wait here and are delivered, in order,
// when the main run loop runs (a run-loop source, signalled on each post).

#include <deque>

#include "cf/CFRef.h"
#include "toolkit/CarbonEvents.h"

class PostedEventQueue {
 public:
  ~PostedEventQueue();
  OSStatus Post(EventRef event);

 private:
  static void Deliver(void* info);
  void Attach();

  std::deque<EventRef> mWaiting;
  CFRef<CFRunLoopSourceRef> mSource;
};
