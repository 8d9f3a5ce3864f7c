#pragma once
// The DNS-SD implementation behind the service browser. The process has one
// current backend: the system's (Avahi) unless a test installs its own.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "carbon/MacTypes.h"

struct NetServiceIdentity {
  std::string name;
  std::string type;
  std::string domain;
};

// A service that appeared or went away, or the search's end: a search that
// cannot go on (no daemon to ask) says so once, with a kCFNetServicesError
// code and no service.
struct NetServiceEvent {
  NetServiceIdentity service;
  bool removed = false;
  SInt32 error = 0;
};

// Hears of the services a search finds; called on any thread.
class NetServiceListener {
 public:
  virtual ~NetServiceListener() = default;
  virtual void Deliver(const NetServiceEvent& event) = 0;
};

// A running search; destroying it stops it, after which its listener hears nothing.
class NetServiceSearch {
 public:
  virtual ~NetServiceSearch() = default;
};

class NetServiceBackend {
 public:
  // A socket address as the platform hands it out: a sockaddr_in or sockaddr_in6.
  using SocketAddress = std::vector<uint8_t>;

  virtual ~NetServiceBackend() = default;

  // The bytes of a sockaddr_in or sockaddr_in6.
  template <class SocketAddressType>
  static SocketAddress BytesOf(const SocketAddressType& address) {
    const uint8_t* bytes = reinterpret_cast<const uint8_t*>(&address);
    return SocketAddress(bytes, bytes + sizeof address);
  }

  // Searches for services of `what.type` in `what.domain` ("" for the default
  // domains); `what.name` is not used. Never null.
  virtual std::unique_ptr<NetServiceSearch> StartSearch(const NetServiceIdentity& what,
                                                        NetServiceListener& listener) = 0;
  // The service's addresses, waiting at most `timeout` seconds; on failure
  // false with a kCFNetServicesError code.
  virtual bool Resolve(const NetServiceIdentity& service, double timeout,
                       std::vector<SocketAddress>& addresses, SInt32& error) = 0;

  static NetServiceBackend& Current();
  // Makes `backend` current; null gives the system's backend back.
  static void Install(NetServiceBackend* backend);
};
