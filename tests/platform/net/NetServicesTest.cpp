#include <gtest/gtest.h>
#include <netinet/in.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "cf/CFRef.h"
#include "net/CFNetServices.h"
#include "support/PlatformString.h"
#include "testing/InjectedNetServices.h"

namespace {

// What a browser's callback heard: "+name" or "-name", with "…" when more was
// coming, or "!domain/error" when the search failed.
struct Heard {
  std::vector<std::string> events;
  std::vector<CFIndex> addressLengths;
  bool resolve = false;
};

void Record(CFNetServiceBrowserRef, CFOptionFlags flags, CFTypeRef domainOrService,
            CFStreamError* error, void* info) {
  auto* heard = static_cast<Heard*>(info);
  if (error->error != 0) {
    EXPECT_EQ(domainOrService, nullptr);
    heard->events.push_back("!" + std::to_string(error->domain) + "/" +
                            std::to_string(error->error));
    return;
  }
  auto service = static_cast<CFNetServiceRef>(const_cast<void*>(domainOrService));
  std::string event = ((flags & kCFNetServiceFlagRemove) ? "-" : "+") +
                      TextOf(CFNetServiceGetName(service)) +
                      ((flags & kCFNetServiceFlagMoreComing) ? "…" : "");
  if (heard->resolve && !(flags & kCFNetServiceFlagRemove)) {
    CFStreamError resolveError;
    if (CFNetServiceResolveWithTimeout(service, 1.0, &resolveError)) {
      CFArrayRef addresses = CFNetServiceGetAddressing(service);
      for (CFIndex i = 0; i < CFArrayGetCount(addresses); ++i)
        heard->addressLengths.push_back(
            CFDataGetLength(static_cast<CFDataRef>(CFArrayGetValueAtIndex(addresses, i))));
    } else {
      event += " " + std::to_string(resolveError.domain) + "/" + std::to_string(resolveError.error);
    }
  }
  heard->events.push_back(event);
}

CFNetServiceBrowserRef CreateBrowser(Heard& heard) {
  CFNetServiceClientContext context = {0, &heard, nullptr, nullptr, nullptr};
  return CFNetServiceBrowserCreate(kCFAllocatorDefault, Record, &context);
}

// A browser scheduled on this thread's run loop and searching for printers.
CFNetServiceBrowserRef StartBrowsing(Heard& heard) {
  CFNetServiceBrowserRef browser = CreateBrowser(heard);
  CFNetServiceBrowserScheduleWithRunLoop(browser, CFRunLoopGetCurrent(), kCFRunLoopCommonModes);
  CFStreamError error;
  EXPECT_TRUE(
      CFNetServiceBrowserSearchForServices(browser, CFSTR(""), CFSTR("_printer._tcp."), &error));
  return browser;
}

void EndBrowsing(CFNetServiceBrowserRef browser) {
  CFNetServiceBrowserUnscheduleFromRunLoop(browser, CFRunLoopGetCurrent(), kCFRunLoopCommonModes);
  CFNetServiceBrowserInvalidate(browser);
}

SInt32 RunBriefly(CFTimeInterval seconds = 0) {
  return CFRunLoopRunInMode(kCFRunLoopDefaultMode, seconds, false);
}

}  // namespace

TEST(NetServices, BrowserDeliversOnlyWhileScheduled) {
  InjectedNetServices network;
  network.Announce("Early", {"10.0.0.1"});
  Heard heard;
  CFRef<CFNetServiceBrowserRef> browser(CreateBrowser(heard));
  CFStreamError error;
  ASSERT_TRUE(CFNetServiceBrowserSearchForServices(browser.get(), CFSTR(""),
                                                   CFSTR("_printer._tcp."), &error));
  EXPECT_EQ(error.error, 0);
  EXPECT_FALSE(CFNetServiceBrowserSearchForServices(browser.get(), CFSTR(""),
                                                    CFSTR("_printer._tcp."), &error));
  EXPECT_EQ(error.error, kCFNetServicesErrorInProgress);
  network.Announce("Second", {"10.0.0.2"});
  network.Announce("Other", {"10.0.0.3"}, "_ipp._tcp.");
  EXPECT_EQ(RunBriefly(), kCFRunLoopRunFinished);  // nothing scheduled
  EXPECT_TRUE(heard.events.empty());

  CFNetServiceBrowserScheduleWithRunLoop(browser.get(), CFRunLoopGetCurrent(),
                                         kCFRunLoopCommonModes);
  EXPECT_EQ(RunBriefly(), kCFRunLoopRunTimedOut);
  EXPECT_EQ(heard.events, (std::vector<std::string>{"+Early…", "+Second"}));

  network.Withdraw("Early");
  EXPECT_EQ(RunBriefly(), kCFRunLoopRunTimedOut);
  EXPECT_EQ(heard.events.back(), "-Early");

  CFNetServiceBrowserUnscheduleFromRunLoop(browser.get(), CFRunLoopGetCurrent(),
                                           kCFRunLoopCommonModes);
  network.Announce("Unheard", {"10.0.0.4"});
  EXPECT_EQ(RunBriefly(), kCFRunLoopRunFinished);
  EXPECT_EQ(heard.events.size(), 3u);
  // A stopped search drops what it had not delivered.
  CFNetServiceBrowserStopSearch(browser.get(), &error);
  CFNetServiceBrowserScheduleWithRunLoop(browser.get(), CFRunLoopGetCurrent(),
                                         kCFRunLoopCommonModes);
  RunBriefly();
  EXPECT_EQ(heard.events.size(), 3u);

  CFNetServiceBrowserInvalidate(browser.get());
  EXPECT_FALSE(CFNetServiceBrowserSearchForServices(browser.get(), CFSTR(""),
                                                    CFSTR("_printer._tcp."), &error));
  EXPECT_EQ(error.error, kCFNetServicesErrorInvalid);
  EXPECT_EQ(error.domain, kCFStreamErrorDomainNetServices);
  CFNetServiceBrowserUnscheduleFromRunLoop(browser.get(), CFRunLoopGetCurrent(),
                                           kCFRunLoopCommonModes);
}

TEST(NetServices, ResolutionGivesEveryAddressOrTimesOut) {
  InjectedNetServices network;
  network.Announce("Dual", {"10.0.0.1", "fe80::2", "10.0.0.3", "not an address"});
  network.AnnounceUnresolvable("Silent");
  Heard heard;
  heard.resolve = true;
  CFRef<CFNetServiceBrowserRef> browser(StartBrowsing(heard));
  EXPECT_EQ(CFRunLoopRunInMode(kCFRunLoopDefaultMode, 1.0, true), kCFRunLoopRunHandledSource);
  EXPECT_EQ(heard.events,
            (std::vector<std::string>{
                "+Dual…", "+Silent " + std::to_string(kCFStreamErrorDomainNetServices) + "/" +
                              std::to_string(kCFNetServicesErrorTimeout)}));
  EXPECT_EQ(heard.addressLengths,
            (std::vector<CFIndex>{sizeof(sockaddr_in), sizeof(sockaddr_in6), sizeof(sockaddr_in)}));
  EndBrowsing(browser.get());
}

// A service found on another thread wakes the loop that waits for it.
TEST(NetServices, AnotherThreadWakesTheRunLoop) {
  InjectedNetServices network;
  Heard heard;
  CFRef<CFNetServiceBrowserRef> browser(StartBrowsing(heard));
  std::thread announcer([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    network.Announce("Far", {"10.0.0.8"});
  });
  auto start = std::chrono::steady_clock::now();
  SInt32 result = CFRunLoopRunInMode(kCFRunLoopDefaultMode, 30.0, true);
  auto waited = std::chrono::steady_clock::now() - start;
  announcer.join();
  EXPECT_EQ(result, kCFRunLoopRunHandledSource);
  EXPECT_LT(waited, std::chrono::seconds(10));
  EXPECT_EQ(heard.events, std::vector<std::string>{"+Far"});
  EndBrowsing(browser.get());
}

// The system's backend starts and stops cleanly whether or not a DNS-SD daemon
// runs here; without one it finds nothing, the browser hears that the search
// failed, and standard error says so.
TEST(NetServices, SystemBackendStartsAndStops) {
  Heard heard;
  auto start = std::chrono::steady_clock::now();
  CFRef<CFNetServiceBrowserRef> browser(StartBrowsing(heard));
  EXPECT_EQ(RunBriefly(0.2), kCFRunLoopRunTimedOut);
  const std::string failure = "!" + std::to_string(kCFStreamErrorDomainNetServices) + "/" +
                              std::to_string(kCFNetServicesErrorUnknown);
  if (access("/run/avahi-daemon/socket", F_OK) != 0) {  // where the daemon would listen
    EXPECT_EQ(heard.events, std::vector<std::string>{failure});
  }
  EndBrowsing(browser.get());
  CFStreamError error;
  CFNetServiceBrowserStopSearch(browser.get(), &error);
  browser.reset();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
}
