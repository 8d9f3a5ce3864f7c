#include "cf/CFRunLoopSourceObject.h"

#include <algorithm>
#include <new>

__CFRunLoopSource::__CFRunLoopSource(const CFRunLoopSourceContext& context)
    : CFObject(kCFObjectTypeRunLoopSource), mContext(context) {
  if (mContext.retain) mContext.info = const_cast<void*>(mContext.retain(mContext.info));
}

__CFRunLoopSource::~__CFRunLoopSource() {
  while (!mSchedulings.empty()) RemoveFrom(mSchedulings.back().loop, mSchedulings.back().mode);
  if (mContext.release) mContext.release(mContext.info);
}

void __CFRunLoopSource::AddTo(__CFRunLoop* loop, CFStringRef mode) {
  CFRetain(mode);
  mSchedulings.push_back({loop, mode});
  loop->Add(this, mode);
  if (mContext.schedule) mContext.schedule(mContext.info, loop, mode);
}

void __CFRunLoopSource::RemoveFrom(__CFRunLoop* loop, CFStringRef mode) {
  auto found = std::find_if(mSchedulings.begin(), mSchedulings.end(), [&](const Scheduling& s) {
    return s.loop == loop && CFEqual(s.mode, mode);
  });
  if (found == mSchedulings.end()) return;
  CFStringRef scheduledMode = found->mode;
  mSchedulings.erase(found);
  loop->Remove(this, scheduledMode);
  if (mContext.cancel) mContext.cancel(mContext.info, loop, scheduledMode);
  CFRelease(scheduledMode);
}

void __CFRunLoopSource::Signal() {
  for (const Scheduling& scheduling : mSchedulings) scheduling.loop->Signal(this);
}

CFRunLoopSourceRef CFRunLoopSourceCreate(CFAllocatorRef, CFIndex, CFRunLoopSourceContext* context) {
  if (!context || context->version != 0 || !context->perform) return nullptr;
  return new (std::nothrow) __CFRunLoopSource(*context);
}

void CFRunLoopAddSource(CFRunLoopRef loop, CFRunLoopSourceRef source, CFStringRef mode) {
  if (loop && source && mode) source->AddTo(loop, mode);
}

void CFRunLoopRemoveSource(CFRunLoopRef loop, CFRunLoopSourceRef source, CFStringRef mode) {
  if (loop && source && mode) source->RemoveFrom(loop, mode);
}

void CFRunLoopSourceSignal(CFRunLoopSourceRef source) {
  if (source) source->Signal();
}
