#pragma once
// A command posted to a window: an event whose direct parameter is the
// command record, delivered to the window's event target from the queue.

#include "toolkit/CarbonEvents.h"

class CustomCarbonEvent {
 public:
  // Without a window the event stays invalid and send does nothing. The
  // system posts kEventClassCommand / kEventCommandProcess.
  CustomCarbonEvent(UInt32 command, WindowRef window, UInt32 eventClass, UInt32 eventKind);
  ~CustomCarbonEvent();
  CustomCarbonEvent(const CustomCarbonEvent&) = delete;
  CustomCarbonEvent& operator=(const CustomCarbonEvent&) = delete;

  bool IsValid() const { return mValid; }
  // Posts to `queue` (null: the main queue) and wakes the main run loop.
  OSStatus send(EventQueueRef queue, EventPriority priority);
  OSStatus setEventTarget(EventTargetRef target);
  OSStatus addParameter(EventParamName name, EventParamType type, ByteCount size, const void* data);

 private:
  WindowRef mWindow;
  bool mValid = false;
  EventRef mEvent = nullptr;
};
