#pragma once
// A host database that a test fills by hand, so that no lookup leaves the
// machine. While it lives it is the current resolver; it counts the lookups it
// answers.

#include <map>
#include <string>
#include <vector>

#include "net/HostResolver.h"

class InjectedHostResolver : public HostResolver {
 public:
  InjectedHostResolver();
  ~InjectedHostResolver() override;
  InjectedHostResolver(const InjectedHostResolver&) = delete;
  InjectedHostResolver& operator=(const InjectedHostResolver&) = delete;

  // `name` answers with these addresses, IPv4 or IPv6 texts in order; a name
  // with IPv6 addresses only resolves to no IPv4 address, like the system's.
  void Add(const std::string& name, const std::vector<std::string>& addresses);

  bool FirstIPv4Address(const char* name, in_addr_t& address) override;

  int LookupCount() const { return mLookups; }

 private:
  std::map<std::string, std::vector<std::string>> mHosts;
  int mLookups = 0;
};
