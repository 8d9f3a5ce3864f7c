#pragma once
// Makes sure a command posted to a window's queue is delivered at once, even
// while another modal loop runs: a run-loop source, set up once per process
// when the library loads, that posting signals to wake the main run loop.

#include "cf/CFRunLoop.h"

class EventHack {
 public:
  enum { kAlreadySetUp = -1, kNoSource = -5 };

  static EventHack& Shared();
  // Sets up the source on the current run loop; kAlreadySetUp the second
  // time, kNoSource when the source cannot be made.
  int testHack();
  // Signals the source and wakes the main event loop's run loop.
  void wakeHack();

 private:
  EventHack() = default;
  static void Perform(void* info);

  bool mSetUp = false;
  CFRunLoopRef mRunLoop = nullptr;
  CFRunLoopSourceRef mSource = nullptr;
};
