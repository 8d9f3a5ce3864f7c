#pragma once
// Browsing for network services (DNS-SD) and resolving them to addresses.
// A browser reports each service that appears or goes away through its
// callback, on the run loop it is scheduled on. Which DNS-SD implementation
// answers is the current NetServiceBackend's affair (net/NetServiceBackend.h).

#include "cf/CFArray.h"
#include "cf/CFBase.h"
#include "cf/CFRunLoop.h"

typedef struct __CFNetService* CFNetServiceRef;
typedef struct __CFNetServiceBrowser* CFNetServiceBrowserRef;

struct CFStreamError {
  CFIndex domain;
  SInt32 error;
};

enum : CFIndex { kCFStreamErrorDomainNetServices = 10 };

enum : SInt32 {
  kCFNetServicesErrorUnknown = -72000,
  kCFNetServicesErrorCollision = -72001,
  kCFNetServicesErrorNotFound = -72002,
  kCFNetServicesErrorInProgress = -72003,
  kCFNetServicesErrorBadArgument = -72004,
  kCFNetServicesErrorCancel = -72005,
  kCFNetServicesErrorInvalid = -72006,
  kCFNetServicesErrorTimeout = -72007,
};

// Flags of a browser event.
enum : CFOptionFlags {
  kCFNetServiceFlagMoreComing = 1,
  kCFNetServiceFlagIsDomain = 2,
  kCFNetServiceFlagIsDefault = 4,
  kCFNetServiceFlagRemove = 8,
};

struct CFNetServiceClientContext {
  CFIndex version;
  void* info;
  const void* (*retain)(const void* info);
  void (*release)(const void* info);
  CFStringRef (*copyDescription)(const void* info);
};

// `domainOrService` is a CFNetServiceRef for service events (borrowed for
// the call; retain it to keep it). A search that fails (no DNS-SD service to
// ask) calls once more with null and the error in `error`; else its error is 0.
typedef void (*CFNetServiceBrowserClientCallBack)(CFNetServiceBrowserRef browser,
                                                  CFOptionFlags flags, CFTypeRef domainOrService,
                                                  CFStreamError* error, void* info);

CFNetServiceBrowserRef CFNetServiceBrowserCreate(CFAllocatorRef allocator,
                                                 CFNetServiceBrowserClientCallBack clientCB,
                                                 CFNetServiceClientContext* clientContext);
// Stops the search and the callback for good.
void CFNetServiceBrowserInvalidate(CFNetServiceBrowserRef browser);
// Domain "" searches the default domains. Events arrive only while the browser
// is scheduled on a run loop that runs.
Boolean CFNetServiceBrowserSearchForServices(CFNetServiceBrowserRef browser, CFStringRef domain,
                                             CFStringRef serviceType, CFStreamError* error);
// Events not yet delivered are dropped; the callback is not called for the stop.
void CFNetServiceBrowserStopSearch(CFNetServiceBrowserRef browser, CFStreamError* error);
void CFNetServiceBrowserScheduleWithRunLoop(CFNetServiceBrowserRef browser, CFRunLoopRef runLoop,
                                            CFStringRef runLoopMode);
void CFNetServiceBrowserUnscheduleFromRunLoop(CFNetServiceBrowserRef browser, CFRunLoopRef runLoop,
                                              CFStringRef runLoopMode);

CFStringRef CFNetServiceGetName(CFNetServiceRef service);
// Blocks until the service's addresses are known or `timeout` seconds passed.
Boolean CFNetServiceResolveWithTimeout(CFNetServiceRef service, CFTimeInterval timeout,
                                       CFStreamError* error);
// The socket addresses (CFData holding a sockaddr_in or sockaddr_in6) found by
// the last resolution; null before one succeeded.
CFArrayRef CFNetServiceGetAddressing(CFNetServiceRef service);
