#include "comm/HostAddress.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <sys/socket.h>

#include <cstdio>
#include <cstring>

in_addr_t InetToAddr(const char* text) { return text != nullptr ? inet_addr(text) : INADDR_NONE; }

int LookupHostAddress(const char* name, sockaddr_in* record) {
  if (name == nullptr || record == nullptr) return kLookupMissingArgument;
  std::memset(record, 0, sizeof *record);
  in_addr_t quad = InetToAddr(name);
  if (quad != INADDR_NONE) {
    record->sin_family = AF_INET;
    record->sin_addr.s_addr = quad;
    return kLookupDone;
  }
  addrinfo hints;
  std::memset(&hints, 0, sizeof hints);
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  if (getaddrinfo(name, nullptr, &hints, &found) != 0 || found == nullptr) return kLookupUnresolved;
  const auto* first = reinterpret_cast<const sockaddr_in*>(found->ai_addr);
  record->sin_family = AF_INET;
  record->sin_addr = first->sin_addr;
  freeaddrinfo(found);
  return kLookupDone;
}

bool ResolveHostToAddr(const char* name, in_addr_t* address) {
  sockaddr_in record;
  if (address == nullptr || LookupHostAddress(name, &record) != kLookupDone) return false;
  *address = record.sin_addr.s_addr;
  return true;
}

bool ResolveHostToAddrString(const char* name, char* text, size_t size) {
  in_addr_t address = 0;
  if (text == nullptr || !ResolveHostToAddr(name, &address)) return false;
  const auto* bytes = reinterpret_cast<const unsigned char*>(&address);
  int length = std::snprintf(text, size, "%u.%u.%u.%u", bytes[0], bytes[1], bytes[2], bytes[3]);
  return length > 0 && size_t(length) < size;
}
