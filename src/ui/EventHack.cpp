#include "ui/EventHack.h"

#include "toolkit/CarbonEvents.h"

namespace {

// Set up as the library loads, before the first command is posted.
[[maybe_unused]] const int sLoaded = EventHack::Shared().testHack();

}  // namespace

EventHack& EventHack::Shared() {
  static EventHack hack;
  return hack;
}

// Waking is all the source is for; the posted event does the work.
void EventHack::Perform(void*) {}

int EventHack::testHack() {
  if (mSetUp) return kAlreadySetUp;
  CFRunLoopSourceContext context = {};
  context.perform = Perform;
  mSource = CFRunLoopSourceCreate(nullptr, 0, &context);
  if (mSource == nullptr) return kNoSource;
  mRunLoop = CFRunLoopGetCurrent();
  CFRunLoopAddSource(mRunLoop, mSource, kCFRunLoopCommonModes);
  mSetUp = true;
  return 0;
}

void EventHack::wakeHack() {
  if (!mSetUp) return;
  CFRunLoopSourceSignal(mSource);
  CFRunLoopWakeUp(GetCFRunLoopFromEventLoop(GetMainEventLoop()));
}
