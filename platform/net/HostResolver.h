#pragma once
// The host database behind name lookups. The process has one current resolver:
// the system's (getaddrinfo, IPv4 only) unless a test installs its own.

#include <netinet/in.h>

class HostResolver {
 public:
  virtual ~HostResolver() = default;

  // The first IPv4 address of `name` in network order; false when the name has
  // none (unknown, or known only by IPv6 addresses). Blocks the calling thread.
  virtual bool FirstIPv4Address(const char* name, in_addr_t& address) = 0;

  static HostResolver& Current();
  // Makes `resolver` current; null gives the system's resolver back.
  static void Install(HostResolver* resolver);
};
