#pragma once
// The object behind CFRunLoopSourceRef: a client of every loop it is added to,
// whose signal reaches all of them.

#include <vector>

#include "cf/CFRunLoopObject.h"

struct __CFRunLoopSource : CFObject, RunLoopClient {
  explicit __CFRunLoopSource(const CFRunLoopSourceContext& context);
  ~__CFRunLoopSource() override;

  bool equals(const CFObject& other) const override { return this == &other; }
  CFHashCode hash() const override { return CFHashCode(this); }
  std::u16string description() const override { return u"<CFRunLoopSource>"; }

  void Perform() override { mContext.perform(mContext.info); }
  void AddTo(__CFRunLoop* loop, CFStringRef mode);
  void RemoveFrom(__CFRunLoop* loop, CFStringRef mode);
  void Signal();

 private:
  struct Scheduling {
    __CFRunLoop* loop;
    CFStringRef mode;
  };
  CFRunLoopSourceContext mContext;
  std::vector<Scheduling> mSchedulings;
};
