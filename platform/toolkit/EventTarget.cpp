#include "toolkit/EventTarget.h"

#include <algorithm>

#include "toolkit/ToolkitEvent.h"

bool OpaqueEventHandlerRef::Accepts(const OpaqueEventRef& event) const {
  return std::any_of(mTypes.begin(), mTypes.end(), [&](const EventTypeSpec& type) {
    return type.eventClass == event.mClass && type.eventKind == event.mKind;
  });
}

OpaqueEventTargetRef::~OpaqueEventTargetRef() {
  for (auto& handler : mHandlers) handler->mRemoved = true;
}

EventHandlerRef OpaqueEventTargetRef::Install(EventHandlerUPP proc, ItemCount numTypes,
                                              const EventTypeSpec* types, void* userData) {
  auto handler = std::make_shared<OpaqueEventHandlerRef>(OpaqueEventHandlerRef{
      this, proc, std::vector<EventTypeSpec>(types, types + numTypes), userData});
  mHandlers.insert(mHandlers.begin(), handler);
  return handler.get();
}

void OpaqueEventTargetRef::Remove(EventHandlerRef handler) {
  handler->mRemoved = true;
  mHandlers.erase(std::remove_if(mHandlers.begin(), mHandlers.end(),
                                 [&](const auto& held) { return held.get() == handler; }),
                  mHandlers.end());
}

OSStatus OpaqueEventTargetRef::Dispatch(EventRef event) {
  std::vector<std::shared_ptr<OpaqueEventHandlerRef>> running = mHandlers;
  for (const auto& handler : running) {
    if (handler->mRemoved || !handler->Accepts(*event)) continue;
    OSStatus status = handler->mProc(nullptr, event, handler->mUserData);
    if (status != eventNotHandledErr) return status;
  }
  return eventNotHandledErr;
}
