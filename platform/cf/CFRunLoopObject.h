#pragma once
// The object behind CFRunLoopRef and what it serves: clients that other
// threads signal and that perform on the loop's own thread.

#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "cf/CFObject.h"
#include "cf/CFRunLoop.h"

class RunLoopClient {
 public:
  virtual ~RunLoopClient() = default;
  // Delivers what the client has waiting; called on the loop's thread.
  virtual void Perform() = 0;
};

struct __CFRunLoop : CFObject {
  __CFRunLoop() : CFObject(kCFObjectTypeRunLoop, true) {}

  bool equals(const CFObject& other) const override { return this == &other; }
  CFHashCode hash() const override { return CFHashCode(this); }
  std::u16string description() const override { return u"<CFRunLoop>"; }

  // Scheduling, on the loop's thread.
  void Add(RunLoopClient* client, CFStringRef mode);
  void Remove(RunLoopClient* client, CFStringRef mode);
  // From any thread: the client has something to deliver.
  void Signal(RunLoopClient* client);
  SInt32 Run(CFStringRef mode, CFTimeInterval seconds, bool returnAfterSourceHandled);
  void WakeUp();
  // Another event loop (a toolkit's) that runs this one's clients: `wake`
  // hears, from any thread, that there is work; null detaches it.
  void SetHost(void (*wake)(void* context), void* context);
  // Whether a client scheduled in the mode is signalled.
  bool HasWork(CFStringRef mode);

 private:
  struct Entry {
    RunLoopClient* client;
    std::string mode;
  };
  bool ServesMode(const Entry& entry, const std::string& mode) const;
  bool HasEntriesFor(const std::string& mode) const;
  bool IsServed(RunLoopClient* client, const std::string& mode) const;
  // A signalled client scheduled in the mode, taken off the signalled list.
  RunLoopClient* TakeSignalled(const std::string& mode);

  std::mutex mLock;
  std::condition_variable mWake;
  std::vector<Entry> mEntries;
  std::vector<RunLoopClient*> mSignalled;
  void (*mHostWake)(void*) = nullptr;
  void* mHostContext = nullptr;
};
