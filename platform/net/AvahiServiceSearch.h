#pragma once
// A search on the DNS-SD daemon. The daemon reports a service once per
// network interface and protocol; the listener hears of it once, when it is
// first seen, and of its removal when the last of those reports is withdrawn.
// Without a daemon, or when the daemon fails the search, the listener hears
// of the failure.

#include <avahi-client/lookup.h>

#include <map>
#include <string>

#include "net/AvahiClientThread.h"
#include "net/NetServiceBackend.h"

class AvahiServiceSearch : public NetServiceSearch {
 public:
  AvahiServiceSearch(const NetServiceIdentity& what, NetServiceListener& listener);
  ~AvahiServiceSearch() override;

 private:
  // The listener hears that the search cannot go on.
  void Failed();
  // Called on the connection's thread.
  void Seen(const NetServiceIdentity& service);
  void Gone(const NetServiceIdentity& service);
  static void OnBrowse(AvahiServiceBrowser* browser, AvahiIfIndex interface, AvahiProtocol protocol,
                       AvahiBrowserEvent event, const char* name, const char* type,
                       const char* domain, AvahiLookupResultFlags flags, void* search);

  NetServiceListener& mListener;
  AvahiClientThread mConnection;
  AvahiServiceBrowser* mBrowser = nullptr;
  // Reports per service (name, type and domain joined by NULs).
  std::map<std::string, int> mReports;
};
