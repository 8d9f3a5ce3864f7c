// The browser lives on the thread that made it; the backend's listener calls
// come from any thread and only queue events and signal the run loops the
// browser is scheduled on. Events are delivered when such a loop runs.

#include <algorithm>
#include <deque>
#include <mutex>
#include <utility>
#include <vector>

#include "cf/CFRef.h"
#include "cf/CFRunLoopObject.h"
#include "cf/CFStringObject.h"
#include "net/CFNetServiceObject.h"

struct __CFNetServiceBrowser : CFObject, RunLoopClient, NetServiceListener {
  __CFNetServiceBrowser(CFNetServiceBrowserClientCallBack callback,
                        const CFNetServiceClientContext* context)
      : CFObject(kCFObjectTypeNetServiceBrowser), mCallback(callback) {
    if (context != nullptr) mContext = *context;
    if (mContext.retain != nullptr)
      mContext.info = const_cast<void*>(mContext.retain(mContext.info));
  }
  ~__CFNetServiceBrowser() override {
    Invalidate();
    for (const Schedule& schedule : mSchedules) schedule.loop->Remove(this, schedule.mode.get());
    if (mContext.release != nullptr) mContext.release(mContext.info);
  }

  bool equals(const CFObject& other) const override { return this == &other; }
  CFHashCode hash() const override { return CFHashCode(this); }
  std::u16string description() const override { return u"<CFNetServiceBrowser>"; }

  void Deliver(const NetServiceEvent& event) override {
    std::lock_guard<std::mutex> hold(mLock);
    mPending.push_back(event);
    for (__CFRunLoop* loop : mSignalTargets) loop->Signal(this);
  }

  void Perform() override {
    // The callback may release the browser's last other reference.
    CFRef<CFNetServiceBrowserRef> keep = CFRef<CFNetServiceBrowserRef>::Retain(this);
    std::deque<NetServiceEvent> events = TakePending();
    while (!events.empty() && mCallback != nullptr) {
      NetServiceEvent event = std::move(events.front());
      events.pop_front();
      CFOptionFlags flags = event.removed ? CFOptionFlags(kCFNetServiceFlagRemove) : 0;
      if (!events.empty()) flags |= kCFNetServiceFlagMoreComing;
      CFStreamError error = {0, event.error};
      if (event.error != 0) error.domain = kCFStreamErrorDomainNetServices;
      CFRef<CFNetServiceRef> service(event.error != 0 ? nullptr
                                                      : new __CFNetService(event.service));
      mCallback(this, flags, service.get(), &error, mContext.info);
    }
  }

  Boolean Search(CFStringRef domain, CFStringRef type, CFStreamError* error) {
    SInt32 code = SearchRefusal(type);
    SetStreamError(error, code);
    if (code != 0) return false;
    NetServiceIdentity what{std::string(), __CFString::utf8Of(type), __CFString::utf8Of(domain)};
    mSearch = NetServiceBackend::Current().StartSearch(what, *this);
    return true;
  }

  // The search is ended without the lock: its thread may be waiting for it.
  void StopSearch() {
    std::unique_ptr<NetServiceSearch> ending = std::move(mSearch);
    ending.reset();
    std::lock_guard<std::mutex> hold(mLock);
    mPending.clear();
  }

  void Invalidate() {
    mCallback = nullptr;
    StopSearch();
  }

  void ScheduleOn(__CFRunLoop* loop, CFStringRef mode) {
    mSchedules.push_back({loop, CFRef<CFStringRef>(CFStringCreateCopy(kCFAllocatorDefault, mode))});
    loop->Add(this, mode);
    std::lock_guard<std::mutex> hold(mLock);
    mSignalTargets.push_back(loop);
    // Events that came while the browser was not scheduled wait no longer.
    if (!mPending.empty()) loop->Signal(this);
  }

  void UnscheduleFrom(__CFRunLoop* loop, CFStringRef mode) {
    for (auto schedule = mSchedules.begin(); schedule != mSchedules.end(); ++schedule) {
      if (schedule->loop != loop || !CFEqual(schedule->mode.get(), mode)) continue;
      {
        std::lock_guard<std::mutex> hold(mLock);
        mSignalTargets.erase(std::find(mSignalTargets.begin(), mSignalTargets.end(), loop));
      }
      loop->Remove(this, mode);
      mSchedules.erase(schedule);
      return;
    }
  }

 private:
  SInt32 SearchRefusal(CFStringRef type) const {
    if (mCallback == nullptr) return kCFNetServicesErrorInvalid;
    if (mSearch) return kCFNetServicesErrorInProgress;
    if (type == nullptr) return kCFNetServicesErrorBadArgument;
    return 0;
  }

  struct Schedule {
    __CFRunLoop* loop;
    CFRef<CFStringRef> mode;
  };

  std::deque<NetServiceEvent> TakePending() {
    std::lock_guard<std::mutex> hold(mLock);
    return std::exchange(mPending, {});
  }

  CFNetServiceBrowserClientCallBack mCallback;
  CFNetServiceClientContext mContext = {0, nullptr, nullptr, nullptr, nullptr};
  std::unique_ptr<NetServiceSearch> mSearch;
  std::vector<Schedule> mSchedules;  // on the browser's thread only
  std::mutex mLock;                  // guards what follows
  std::deque<NetServiceEvent> mPending;
  std::vector<__CFRunLoop*> mSignalTargets;
};

CFNetServiceBrowserRef CFNetServiceBrowserCreate(CFAllocatorRef,
                                                 CFNetServiceBrowserClientCallBack clientCB,
                                                 CFNetServiceClientContext* clientContext) {
  if (clientCB == nullptr) return nullptr;
  return new __CFNetServiceBrowser(clientCB, clientContext);
}

void CFNetServiceBrowserInvalidate(CFNetServiceBrowserRef browser) {
  if (browser != nullptr) browser->Invalidate();
}

Boolean CFNetServiceBrowserSearchForServices(CFNetServiceBrowserRef browser, CFStringRef domain,
                                             CFStringRef serviceType, CFStreamError* error) {
  if (browser == nullptr) return false;
  return browser->Search(domain, serviceType, error);
}

void CFNetServiceBrowserStopSearch(CFNetServiceBrowserRef browser, CFStreamError*) {
  if (browser != nullptr) browser->StopSearch();
}

void CFNetServiceBrowserScheduleWithRunLoop(CFNetServiceBrowserRef browser, CFRunLoopRef runLoop,
                                            CFStringRef runLoopMode) {
  if (browser != nullptr && runLoop != nullptr && runLoopMode != nullptr)
    browser->ScheduleOn(runLoop, runLoopMode);
}

void CFNetServiceBrowserUnscheduleFromRunLoop(CFNetServiceBrowserRef browser, CFRunLoopRef runLoop,
                                              CFStringRef runLoopMode) {
  if (browser != nullptr && runLoop != nullptr && runLoopMode != nullptr)
    browser->UnscheduleFrom(runLoop, runLoopMode);
}
