#pragma once
// A backend that a test drives: it announces and withdraws services by hand
// and answers resolutions at once, so that browsing runs the same way on
// every machine. While it lives it is the current backend.

#include <string>
#include <vector>

#include "net/NetServiceBackend.h"

class InjectedNetServices : public NetServiceBackend {
 public:
  InjectedNetServices();
  ~InjectedNetServices() override;
  InjectedNetServices(const InjectedNetServices&) = delete;
  InjectedNetServices& operator=(const InjectedNetServices&) = delete;

  // A service appears in the default domain; every search for its type hears
  // of it. Addresses are IPv4 or IPv6 texts; a text that is neither is left out.
  void Announce(const std::string& name, const std::vector<std::string>& addresses,
                const std::string& type = "_printer._tcp.");
  // A service that appears but never answers a resolution: it times out.
  void AnnounceUnresolvable(const std::string& name, const std::string& type = "_printer._tcp.");
  void Withdraw(const std::string& name, const std::string& type = "_printer._tcp.");
  // As when no DNS-SD daemon runs: every search started from now on fails at once.
  void Stop() { mStopped = true; }

  std::unique_ptr<NetServiceSearch> StartSearch(const NetServiceIdentity& what,
                                                NetServiceListener& listener) override;
  bool Resolve(const NetServiceIdentity& service, double timeout,
               std::vector<SocketAddress>& addresses, SInt32& error) override;

 private:
  struct Service {
    NetServiceIdentity identity;
    std::vector<SocketAddress> addresses;
    bool resolvable;
  };
  struct Watcher {
    std::string type;
    NetServiceListener* listener;
  };
  class Search;

  void Add(Service service);
  void Tell(const NetServiceIdentity& service, bool removed) const;

  std::vector<Service> mServices;
  std::vector<Watcher> mWatchers;
  bool mStopped = false;
};
