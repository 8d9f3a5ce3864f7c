#include "ui/CustomCarbonEvent.h"

#include "toolkit/MacWindows.h"
#include "ui/EventHack.h"

CustomCarbonEvent::CustomCarbonEvent(UInt32 command, WindowRef window, UInt32 eventClass,
                                     UInt32 eventKind)
    : mWindow(window) {
  if (window == nullptr || CreateEvent(nullptr, eventClass, eventKind, GetCurrentEventTime(),
                                       kEventAttributeNone, &mEvent) != noErr)
    return;
  HICommand record = {};
  record.commandID = command;
  mValid = addParameter(kEventParamDirectObject, typeHICommand, sizeof record, &record) == noErr;
}

CustomCarbonEvent::~CustomCarbonEvent() {
  if (mEvent != nullptr) ReleaseEvent(mEvent);
}

OSStatus CustomCarbonEvent::send(EventQueueRef queue, EventPriority priority) {
  if (!mValid) return paramErr;
  OSStatus status = setEventTarget(GetWindowEventTarget(mWindow));
  if (status != noErr) return status;
  status = PostEventToQueue(queue != nullptr ? queue : GetMainEventQueue(), mEvent, priority);
  EventHack::Shared().wakeHack();
  return status;
}

OSStatus CustomCarbonEvent::setEventTarget(EventTargetRef target) {
  return addParameter(kEventParamPostTarget, typeEventTargetRef, sizeof target, &target);
}

OSStatus CustomCarbonEvent::addParameter(EventParamName name, EventParamType type, ByteCount size,
                                         const void* data) {
  return SetEventParameter(mEvent, name, type, size, data);
}
