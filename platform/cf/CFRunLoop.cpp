#include "cf/CFRunLoop.h"

#include <algorithm>
#include <chrono>

#include <sys/syscall.h>
#include <unistd.h>

#include "cf/CFRunLoopObject.h"
#include "cf/CFStringObject.h"

namespace {

std::string ModeName(CFStringRef mode) { return __CFString::utf8Of(mode); }

}  // namespace

bool __CFRunLoop::ServesMode(const Entry& entry, const std::string& mode) const {
  return entry.mode == mode || entry.mode == ModeName(kCFRunLoopCommonModes);
}

bool __CFRunLoop::HasEntriesFor(const std::string& mode) const {
  return std::any_of(mEntries.begin(), mEntries.end(),
                     [&](const Entry& entry) { return ServesMode(entry, mode); });
}

bool __CFRunLoop::IsServed(RunLoopClient* client, const std::string& mode) const {
  return std::any_of(mEntries.begin(), mEntries.end(), [&](const Entry& entry) {
    return entry.client == client && ServesMode(entry, mode);
  });
}

void __CFRunLoop::Add(RunLoopClient* client, CFStringRef mode) {
  std::lock_guard<std::mutex> hold(mLock);
  mEntries.push_back({client, ModeName(mode)});
}

void __CFRunLoop::Remove(RunLoopClient* client, CFStringRef mode) {
  std::lock_guard<std::mutex> hold(mLock);
  std::string name = ModeName(mode);
  mEntries.erase(std::remove_if(mEntries.begin(), mEntries.end(),
                                [&](const Entry& entry) {
                                  return entry.client == client && entry.mode == name;
                                }),
                 mEntries.end());
  bool stillScheduled = std::any_of(mEntries.begin(), mEntries.end(),
                                    [&](const Entry& entry) { return entry.client == client; });
  if (!stillScheduled)
    mSignalled.erase(std::remove(mSignalled.begin(), mSignalled.end(), client), mSignalled.end());
}

void __CFRunLoop::Signal(RunLoopClient* client) {
  {
    std::lock_guard<std::mutex> hold(mLock);
    if (std::find(mSignalled.begin(), mSignalled.end(), client) == mSignalled.end())
      mSignalled.push_back(client);
  }
  WakeUp();
}

void __CFRunLoop::WakeUp() {
  mWake.notify_all();
  std::lock_guard<std::mutex> hold(mLock);
  if (mHostWake) mHostWake(mHostContext);
}

void __CFRunLoop::SetHost(void (*wake)(void* context), void* context) {
  std::lock_guard<std::mutex> hold(mLock);
  mHostWake = wake;
  mHostContext = context;
}

bool __CFRunLoop::HasWork(CFStringRef mode) {
  std::string name = ModeName(mode);
  std::lock_guard<std::mutex> hold(mLock);
  return std::any_of(mSignalled.begin(), mSignalled.end(),
                     [&](RunLoopClient* client) { return IsServed(client, name); });
}

RunLoopClient* __CFRunLoop::TakeSignalled(const std::string& mode) {
  for (auto signalled = mSignalled.begin(); signalled != mSignalled.end(); ++signalled) {
    if (!IsServed(*signalled, mode)) continue;
    RunLoopClient* client = *signalled;
    mSignalled.erase(signalled);
    return client;
  }
  return nullptr;
}

SInt32 __CFRunLoop::Run(CFStringRef mode, CFTimeInterval seconds, bool returnAfterSourceHandled) {
  std::string name = ModeName(mode);
  auto deadline = std::chrono::steady_clock::now() +
                  std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                      std::chrono::duration<double>(std::max(seconds, 0.0)));
  std::unique_lock<std::mutex> hold(mLock);
  while (HasEntriesFor(name)) {
    if (RunLoopClient* client = TakeSignalled(name)) {
      // Clients are scheduled and removed on this thread only, so the client
      // taken is still there once the lock is let go.
      hold.unlock();
      client->Perform();
      if (returnAfterSourceHandled) return kCFRunLoopRunHandledSource;
      hold.lock();
      continue;
    }
    if (std::chrono::steady_clock::now() >= deadline) return kCFRunLoopRunTimedOut;
    mWake.wait_until(hold, deadline);
  }
  return kCFRunLoopRunFinished;
}

CFRunLoopRef CFRunLoopGetMain() {
  static __CFRunLoop* sMainLoop = new __CFRunLoop;  // lives as long as the process
  return sMainLoop;
}

CFRunLoopRef CFRunLoopGetCurrent() {
  if (getpid() == static_cast<pid_t>(syscall(SYS_gettid))) return CFRunLoopGetMain();
  thread_local __CFRunLoop sLoop;
  return &sLoop;
}

void CFRunLoopWakeUp(CFRunLoopRef loop) {
  if (loop) loop->WakeUp();
}

SInt32 CFRunLoopRunInMode(CFStringRef mode, CFTimeInterval seconds,
                          Boolean returnAfterSourceHandled) {
  return CFRunLoopGetCurrent()->Run(mode, seconds, returnAfterSourceHandled);
}
