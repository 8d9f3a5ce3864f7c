#pragma once
// Message ports between processes of one user: a local port is a Unix-domain
// socket named by the port in the user's port folder (PlatformPaths) whose
// requests are answered on the main run loop; its connections are read
// without waiting for one another (MessagePortServer), so an idle or slow
// peer delays no other. A remote port sends one request per connection and
// may wait for the reply. A port folder that is a link, another user's or
// open wider than 0700 disables ports (one line on standard error). Frames
// hold at most kCFMessagePortMaxFrame bytes; a peer of another user is
// dropped.

#include "cf/CFBase.h"
#include "cf/CFData.h"
#include "cf/CFRunLoop.h"
#include "cf/CFString.h"

typedef struct __CFMessagePort* CFMessagePortRef;

enum : SInt32 {
  kCFMessagePortSuccess = 0,
  kCFMessagePortSendTimeout = -1,
  kCFMessagePortReceiveTimeout = -2,
  kCFMessagePortIsInvalid = -3,
  kCFMessagePortTransportError = -4,
  kCFMessagePortBecameInvalidError = -5,
};

enum : CFIndex { kCFMessagePortMaxFrame = 1 << 20 };
// The connections a local port holds at most (MessagePortServer).
enum : CFIndex { kCFMessagePortMaxConnections = 64 };

struct CFMessagePortContext {
  CFIndex version;  // 0
  void* info;
  const void* (*retain)(const void* info);
  void (*release)(const void* info);
  CFStringRef (*copyDescription)(const void* info);
};

// Answers a request; the reply (may be null) is released by the port.
typedef CFDataRef (*CFMessagePortCallBack)(CFMessagePortRef local, SInt32 msgid, CFDataRef data,
                                           void* info);

// Null when the name is taken by a live port, ports are disabled or the
// socket cannot be made. Served on the main run loop in every mode.
CFMessagePortRef CFMessagePortCreateLocal(CFAllocatorRef allocator, CFStringRef name,
                                          CFMessagePortCallBack callout,
                                          CFMessagePortContext* context, Boolean* shouldFreeInfo);
// Null when no live port of this user has the name.
CFMessagePortRef CFMessagePortCreateRemote(CFAllocatorRef allocator, CFStringRef name);
// With a reply mode the call waits up to `rcvTimeout` for the reply, handed
// back in `returnData` (the caller releases it) when asked for.
SInt32 CFMessagePortSendRequest(CFMessagePortRef remote, SInt32 msgid, CFDataRef data,
                                CFTimeInterval sendTimeout, CFTimeInterval rcvTimeout,
                                CFStringRef replyMode, CFDataRef* returnData);
// A local port stops serving and its name is free again.
void CFMessagePortInvalidate(CFMessagePortRef port);
Boolean CFMessagePortIsValid(CFMessagePortRef port);
