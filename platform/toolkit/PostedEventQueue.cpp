#include "toolkit/PostedEventQueue.h"

#include "toolkit/EventRouting.h"
#include "toolkit/ToolkitEvent.h"
#include "toolkit/ToolkitModel.h"

PostedEventQueue::~PostedEventQueue() {
  for (EventRef event : mWaiting) ReleaseEvent(event);
  if (mSource) CFRunLoopRemoveSource(CFRunLoopGetMain(), mSource.get(), kCFRunLoopCommonModes);
}

// The source is made on the first post: a process that never posts leaves the
// run loop without anything scheduled.
void PostedEventQueue::Attach() {
  CFRunLoopSourceContext context = {};
  context.info = this;
  context.perform = &PostedEventQueue::Deliver;
  mSource.reset(CFRunLoopSourceCreate(kCFAllocatorDefault, 0, &context));
  CFRunLoopAddSource(CFRunLoopGetMain(), mSource.get(), kCFRunLoopCommonModes);
}

OSStatus PostedEventQueue::Post(EventRef event) {
  if (event->mPosted) return eventAlreadyPostedErr;
  if (!mSource) Attach();
  event->mPosted = true;
  mWaiting.push_back(RetainEvent(event));
  CFRunLoopSourceSignal(mSource.get());
  CFRunLoopWakeUp(CFRunLoopGetMain());
  return noErr;
}

void PostedEventQueue::Deliver(void* info) {
  auto* queue = static_cast<PostedEventQueue*>(info);
  // Events posted while these are handled wait for the next pass.
  std::deque<EventRef> batch;
  batch.swap(queue->mWaiting);
  for (EventRef event : batch) {
    event->mPosted = false;
    EventTargetRef target = nullptr;
    if (!event->Read(kEventParamPostTarget, typeEventTargetRef, &target))
      target = GetApplicationEventTarget();
    // A window or control disposed since the post no longer takes events.
    if (ToolkitModel::Shared().IsLive(target)) EventRouting::Send(event, target);
    ReleaseEvent(event);
  }
}
