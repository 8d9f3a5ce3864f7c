#include "testing/InjectedNetServices.h"

#include <arpa/inet.h>
#include <netinet/in.h>

#include <algorithm>
#include <cstring>

#include "net/CFNetServices.h"

namespace {

bool ParseAddress(const std::string& text, NetServiceBackend::SocketAddress& bytes) {
  sockaddr_in v4;
  std::memset(&v4, 0, sizeof v4);
  if (inet_pton(AF_INET, text.c_str(), &v4.sin_addr) == 1) {
    v4.sin_family = AF_INET;
    v4.sin_port = htons(515);
    bytes = NetServiceBackend::BytesOf(v4);
    return true;
  }
  sockaddr_in6 v6;
  std::memset(&v6, 0, sizeof v6);
  if (inet_pton(AF_INET6, text.c_str(), &v6.sin6_addr) == 1) {
    v6.sin6_family = AF_INET6;
    v6.sin6_port = htons(515);
    bytes = NetServiceBackend::BytesOf(v6);
    return true;
  }
  return false;
}

bool SameService(const NetServiceIdentity& first, const NetServiceIdentity& second) {
  return first.name == second.name && first.type == second.type;
}

}  // namespace

class InjectedNetServices::Search : public NetServiceSearch {
 public:
  Search(std::vector<Watcher>& watchers, NetServiceListener* listener)
      : mWatchers(watchers), mListener(listener) {}
  ~Search() override {
    mWatchers.erase(std::remove_if(mWatchers.begin(), mWatchers.end(),
                                   [&](const Watcher& each) { return each.listener == mListener; }),
                    mWatchers.end());
  }

 private:
  std::vector<Watcher>& mWatchers;
  NetServiceListener* mListener;
};

InjectedNetServices::InjectedNetServices() { NetServiceBackend::Install(this); }

InjectedNetServices::~InjectedNetServices() { NetServiceBackend::Install(nullptr); }

void InjectedNetServices::Announce(const std::string& name,
                                   const std::vector<std::string>& addresses,
                                   const std::string& type) {
  Service service{{name, type, "local."}, {}, true};
  for (const std::string& text : addresses) {
    SocketAddress bytes;
    if (ParseAddress(text, bytes)) service.addresses.push_back(bytes);
  }
  Add(service);
}

void InjectedNetServices::AnnounceUnresolvable(const std::string& name, const std::string& type) {
  Add({{name, type, "local."}, {}, false});
}

void InjectedNetServices::Add(Service service) {
  mServices.push_back(service);
  Tell(service.identity, false);
}

void InjectedNetServices::Withdraw(const std::string& name, const std::string& type) {
  NetServiceIdentity gone{name, type, "local."};
  auto kept = std::remove_if(mServices.begin(), mServices.end(),
                             [&](const Service& each) { return SameService(each.identity, gone); });
  if (kept == mServices.end()) return;
  mServices.erase(kept, mServices.end());
  Tell(gone, true);
}

void InjectedNetServices::Tell(const NetServiceIdentity& service, bool removed) const {
  for (const Watcher& watcher : mWatchers)
    if (watcher.type == service.type) watcher.listener->Deliver({service, removed});
}

std::unique_ptr<NetServiceSearch> InjectedNetServices::StartSearch(const NetServiceIdentity& what,
                                                                   NetServiceListener& listener) {
  if (mStopped) {
    NetServiceEvent failure;
    failure.error = kCFNetServicesErrorUnknown;
    listener.Deliver(failure);
    return std::make_unique<Search>(mWatchers, &listener);
  }
  mWatchers.push_back({what.type, &listener});
  // Services already there are found first, as on a real network.
  for (const Service& service : mServices)
    if (service.identity.type == what.type) listener.Deliver({service.identity, false});
  return std::make_unique<Search>(mWatchers, &listener);
}

bool InjectedNetServices::Resolve(const NetServiceIdentity& service, double,
                                  std::vector<SocketAddress>& addresses, SInt32& error) {
  for (const Service& each : mServices) {
    if (!SameService(each.identity, service)) continue;
    if (!each.resolvable) {
      error = kCFNetServicesErrorTimeout;
      return false;
    }
    addresses = each.addresses;
    return true;
  }
  error = kCFNetServicesErrorNotFound;
  return false;
}
