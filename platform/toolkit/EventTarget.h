#pragma once
// The object behind EventTargetRef: its handlers, newest first. A handler may
// remove itself, another handler, or the whole target while it runs: removed
// handlers are skipped and only freed once no dispatch holds them.

#include <memory>
#include <vector>

#include "toolkit/CarbonEvents.h"

struct OpaqueEventHandlerRef {
  OpaqueEventTargetRef* mTarget;
  EventHandlerUPP mProc;
  std::vector<EventTypeSpec> mTypes;
  void* mUserData;
  bool mRemoved = false;

  bool Accepts(const OpaqueEventRef& event) const;
};

struct OpaqueEventTargetRef {
  OpaqueEventTargetRef(ControlRef control, WindowRef window) : mControl(control), mWindow(window) {}
  ~OpaqueEventTargetRef();
  OpaqueEventTargetRef(const OpaqueEventTargetRef&) = delete;
  OpaqueEventTargetRef& operator=(const OpaqueEventTargetRef&) = delete;

  EventHandlerRef Install(EventHandlerUPP proc, ItemCount numTypes, const EventTypeSpec* types,
                          void* userData);
  void Remove(EventHandlerRef handler);
  // The first answer other than eventNotHandledErr, or eventNotHandledErr.
  // Does not touch the target after a handler ran, which may have disposed it.
  OSStatus Dispatch(EventRef event);

  // What the target belongs to (neither: the application).
  const ControlRef mControl;
  const WindowRef mWindow;

 private:
  std::vector<std::shared_ptr<OpaqueEventHandlerRef>> mHandlers;
};
