#include "testing/InjectedHostResolver.h"

#include <arpa/inet.h>

InjectedHostResolver::InjectedHostResolver() { HostResolver::Install(this); }

InjectedHostResolver::~InjectedHostResolver() { HostResolver::Install(nullptr); }

void InjectedHostResolver::Add(const std::string& name, const std::vector<std::string>& addresses) {
  mHosts[name] = addresses;
}

bool InjectedHostResolver::FirstIPv4Address(const char* name, in_addr_t& address) {
  ++mLookups;
  auto host = name != nullptr ? mHosts.find(name) : mHosts.end();
  if (host == mHosts.end()) return false;
  for (const std::string& text : host->second) {
    in_addr parsed;
    if (inet_pton(AF_INET, text.c_str(), &parsed) != 1) continue;
    address = parsed.s_addr;
    return true;
  }
  return false;
}
