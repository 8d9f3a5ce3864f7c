// The event, queue, timer and loop calls over the process's toolkit model.

#include <new>

#include "toolkit/EventRouting.h"
#include "toolkit/ToolkitEvent.h"
#include "toolkit/ToolkitModel.h"
#include "toolkit/ToolkitWindow.h"

namespace {

// There is one event loop and one queue: the main thread's.
EventLoopRef MainLoopToken() { return reinterpret_cast<EventLoopRef>(CFRunLoopGetMain()); }

}  // namespace

EventHandlerUPP NewEventHandlerUPP(EventHandlerProcPtr proc) { return proc; }
void DisposeEventHandlerUPP(EventHandlerUPP) {}
EventLoopTimerUPP NewEventLoopTimerUPP(EventLoopTimerProcPtr proc) { return proc; }
void DisposeEventLoopTimerUPP(EventLoopTimerUPP) {}

OSStatus InstallEventHandler(EventTargetRef target, EventHandlerUPP handler, ItemCount numTypes,
                             const EventTypeSpec* types, void* userData,
                             EventHandlerRef* outHandler) {
  if (!target || !handler || (numTypes > 0 && !types)) return paramErr;
  EventHandlerRef installed = target->Install(handler, numTypes, types, userData);
  if (outHandler) *outHandler = installed;
  return noErr;
}

OSStatus RemoveEventHandler(EventHandlerRef handler) {
  if (!handler || handler->mRemoved) return paramErr;
  handler->mTarget->Remove(handler);
  return noErr;
}

EventTargetRef GetApplicationEventTarget() { return &ToolkitModel::Shared().mApplication; }

void RunApplicationEventLoop() {
  ToolkitModel& model = ToolkitModel::Shared();
  model.mModalLoops.Run(nullptr, model.mBackend);
}

void QuitApplicationEventLoop() { ToolkitModel::Shared().mModalLoops.Quit(nullptr); }

OSStatus SendEventToEventTarget(EventRef event, EventTargetRef target) {
  if (!event || !target) return paramErr;
  return EventRouting::Send(event, target);
}

OSStatus CreateEvent(CFAllocatorRef, UInt32 eventClass, UInt32 kind, EventTime when,
                     EventAttributes, EventRef* outEvent) {
  if (!outEvent) return paramErr;
  *outEvent =
      new (std::nothrow) OpaqueEventRef(eventClass, kind, when > 0 ? when : GetCurrentEventTime());
  return *outEvent ? OSStatus(noErr) : OSStatus(memFullErr);
}

EventRef RetainEvent(EventRef event) {
  if (event) ++event->mRetainCount;
  return event;
}

void ReleaseEvent(EventRef event) {
  if (event && --event->mRetainCount == 0) delete event;
}

UInt32 GetEventClass(EventRef event) { return event ? event->mClass : 0; }
UInt32 GetEventKind(EventRef event) { return event ? event->mKind : 0; }

OSStatus SetEventParameter(EventRef event, EventParamName name, EventParamType type, ByteCount size,
                           const void* data) {
  if (!event || (size > 0 && !data)) return paramErr;
  event->Set(name, type, size, data);
  return noErr;
}

OSStatus GetEventParameter(EventRef event, EventParamName name, EventParamType desiredType,
                           EventParamType* outActualType, ByteCount bufferSize,
                           ByteCount* outActualSize, void* outData) {
  if (!event) return paramErr;
  return event->Get(name, desiredType, outActualType, bufferSize, outActualSize, outData);
}

EventTime GetCurrentEventTime() { return ToolkitModel::Shared().Now(); }

EventQueueRef GetMainEventQueue() {
  return reinterpret_cast<EventQueueRef>(&ToolkitModel::Shared().mPosted);
}

OSStatus PostEventToQueue(EventQueueRef queue, EventRef event, EventPriority) {
  if (queue != GetMainEventQueue() || !event) return paramErr;
  return ToolkitModel::Shared().mPosted.Post(event);
}

EventLoopRef GetMainEventLoop() { return MainLoopToken(); }
EventLoopRef GetCurrentEventLoop() { return MainLoopToken(); }

CFRunLoopRef GetCFRunLoopFromEventLoop(EventLoopRef loop) {
  return loop == MainLoopToken() ? CFRunLoopGetMain() : nullptr;
}

OSStatus InstallEventLoopTimer(EventLoopRef loop, EventTimerInterval fireDelay,
                               EventTimerInterval interval, EventLoopTimerUPP proc, void* userData,
                               EventLoopTimerRef* outTimer) {
  if (loop != MainLoopToken() || !proc || !outTimer) return paramErr;
  ToolkitModel& model = ToolkitModel::Shared();
  *outTimer = model.mTimers.Install(model.Now(), fireDelay, interval, proc, userData);
  return noErr;
}

OSStatus RemoveEventLoopTimer(EventLoopTimerRef timer) {
  return ToolkitModel::Shared().mTimers.Remove(timer) ? OSStatus(noErr) : OSStatus(paramErr);
}

OSStatus SetEventLoopTimerNextFireTime(EventLoopTimerRef timer, EventTimerInterval nextFire) {
  ToolkitModel& model = ToolkitModel::Shared();
  if (!model.mTimers.Contains(timer)) return paramErr;
  timer->mFireTime = nextFire < 0 ? EventTime(kEventDurationForever) : model.Now() + nextFire;
  return noErr;
}

OSStatus TrackMouseLocation(GrafPtr, Point* outPoint, MouseTrackingResult* outResult) {
  if (!outPoint || !outResult) return paramErr;
  *outResult = ToolkitModel::Shared().mGesture.Next(outPoint);
  return noErr;
}
