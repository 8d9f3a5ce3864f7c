#include "net/HostResolver.h"

#include <netdb.h>
#include <sys/socket.h>

#include <cstring>

namespace {

// getaddrinfo is reentrant and, asked for AF_INET only, never answers an
// address of another length.
class SystemHostResolver : public HostResolver {
 public:
  bool FirstIPv4Address(const char* name, in_addr_t& address) override {
    addrinfo hints;
    std::memset(&hints, 0, sizeof hints);
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(name, nullptr, &hints, &found) != 0) return false;
    bool taken = false;
    for (const addrinfo* entry = found; entry != nullptr && !taken; entry = entry->ai_next) {
      if (entry->ai_family != AF_INET || entry->ai_addrlen < sizeof(sockaddr_in)) continue;
      address = reinterpret_cast<const sockaddr_in*>(entry->ai_addr)->sin_addr.s_addr;
      taken = true;
    }
    freeaddrinfo(found);
    return taken;
  }
};

HostResolver*& Installed() {
  static HostResolver* sInstalled = nullptr;
  return sInstalled;
}

}  // namespace

HostResolver& HostResolver::Current() {
  static SystemHostResolver sSystemResolver;
  return Installed() != nullptr ? *Installed() : sSystemResolver;
}

void HostResolver::Install(HostResolver* resolver) { Installed() = resolver; }
