#include "net/AvahiNetServiceBackend.h"

#include <avahi-client/lookup.h>
#include <netinet/in.h>

#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>

#include "net/AvahiClientThread.h"
#include "net/AvahiNames.h"
#include "net/AvahiServiceSearch.h"
#include "net/CFNetServices.h"

namespace {

// What a resolver's thread hands to the thread that waits for it.
struct Answer {
  std::mutex lock;
  std::condition_variable ready;
  bool done = false;
  bool found = false;
  NetServiceBackend::SocketAddress address;
};

NetServiceBackend::SocketAddress SocketAddressOf(const AvahiAddress& address, uint16_t port) {
  if (address.proto == AVAHI_PROTO_INET6) {
    sockaddr_in6 v6;
    std::memset(&v6, 0, sizeof v6);
    v6.sin6_family = AF_INET6;
    v6.sin6_port = htons(port);
    std::memcpy(&v6.sin6_addr, address.data.ipv6.address, sizeof v6.sin6_addr);
    return NetServiceBackend::BytesOf(v6);
  }
  sockaddr_in v4;
  std::memset(&v4, 0, sizeof v4);
  v4.sin_family = AF_INET;
  v4.sin_port = htons(port);
  v4.sin_addr.s_addr = address.data.ipv4.address;
  return NetServiceBackend::BytesOf(v4);
}

void OnResolved(AvahiServiceResolver*, AvahiIfIndex, AvahiProtocol, AvahiResolverEvent event,
                const char*, const char*, const char*, const char*, const AvahiAddress* address,
                uint16_t port, AvahiStringList*, AvahiLookupResultFlags, void* waiting) {
  auto* answer = static_cast<Answer*>(waiting);
  std::lock_guard<std::mutex> hold(answer->lock);
  if (answer->done) return;
  answer->done = true;
  answer->found = event == AVAHI_RESOLVER_FOUND && address != nullptr;
  if (answer->found) answer->address = SocketAddressOf(*address, port);
  answer->ready.notify_all();
}

}  // namespace

std::unique_ptr<NetServiceSearch> AvahiNetServiceBackend::StartSearch(
    const NetServiceIdentity& what, NetServiceListener& listener) {
  return std::make_unique<AvahiServiceSearch>(what, listener);
}

bool AvahiNetServiceBackend::Resolve(const NetServiceIdentity& service, double timeout,
                                     std::vector<SocketAddress>& addresses, SInt32& error) {
  AvahiClientThread connection;
  if (connection.Client() == nullptr) {
    error = kCFNetServicesErrorNotFound;
    return false;
  }
  Answer answer;
  std::string type = AvahiNames::Type(service.type);
  AvahiServiceResolver* resolver = avahi_service_resolver_new(
      connection.Client(), AVAHI_IF_UNSPEC, AVAHI_PROTO_UNSPEC, service.name.c_str(), type.c_str(),
      AvahiNames::Domain(service.domain), AVAHI_PROTO_INET, AvahiLookupFlags(0), OnResolved,
      &answer);
  if (resolver == nullptr) {
    error = kCFNetServicesErrorBadArgument;
    return false;
  }
  connection.Start();
  {
    std::unique_lock<std::mutex> hold(answer.lock);
    answer.ready.wait_for(hold, std::chrono::duration<double>(timeout),
                          [&] { return answer.done; });
  }
  // No callback can come once the thread stopped; only then is the answer read.
  connection.Stop();
  avahi_service_resolver_free(resolver);
  if (!answer.found) {
    error = answer.done ? kCFNetServicesErrorNotFound : kCFNetServicesErrorTimeout;
    return false;
  }
  addresses.assign(1, answer.address);
  return true;
}
