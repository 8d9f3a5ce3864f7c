#pragma once
// The system's DNS-SD service, avahi-daemon, reached through its client
// library. Each search and each resolution has a connection of its own.

#include "net/NetServiceBackend.h"

class AvahiNetServiceBackend : public NetServiceBackend {
 public:
  std::unique_ptr<NetServiceSearch> StartSearch(const NetServiceIdentity& what,
                                                NetServiceListener& listener) override;
  // One address per resolution: the first the daemon finds, IPv4 when it has one.
  bool Resolve(const NetServiceIdentity& service, double timeout,
               std::vector<SocketAddress>& addresses, SInt32& error) override;
};
