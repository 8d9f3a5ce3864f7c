#include "comm/HostAddress.h"

#include <arpa/inet.h>

#include <cstdio>
#include <cstring>

#include "net/HostResolver.h"

in_addr_t InetToAddr(const char* text) { return text != nullptr ? inet_addr(text) : INADDR_NONE; }

namespace {

void ClearRecord(HostAddressRecord& record) {
  record.length = 0;
  record.family = 0;
  record.port = 0;
  record.address = 0;
  std::memset(record.padding, 0, sizeof record.padding);
}

void FillRecord(HostAddressRecord& record, in_addr_t address) {
  record.length = sizeof record;
  record.family = kHostAddressFamilyInet;
  record.address = address;
}

}  // namespace

int LookupHostAddress(const char* name, HostAddressRecord* record) {
  if (name == nullptr || record == nullptr) return kLookupMissingArgument;
  ClearRecord(*record);
  // inet_aton takes the forms inet_addr takes, "255.255.255.255" included, which
  // inet_addr cannot tell from a failure: a dotted quad never waits for the host
  // database.
  in_addr quad;
  in_addr_t address = 0;
  if (inet_aton(name, &quad) != 0)
    address = quad.s_addr;
  else if (!HostResolver::Current().FirstIPv4Address(name, address))
    return kLookupUnresolved;
  FillRecord(*record, address);
  return kLookupDone;
}

bool ResolveHostToAddr(const char* name, in_addr_t* address) {
  HostAddressRecord record;
  if (address == nullptr || LookupHostAddress(name, &record) != kLookupDone) return false;
  *address = record.address;
  return true;
}

bool ResolveHostToAddrString(const char* name, char* text, size_t size) {
  in_addr_t address = 0;
  if (text == nullptr || !ResolveHostToAddr(name, &address)) return false;
  const auto* bytes = reinterpret_cast<const unsigned char*>(&address);
  int length = std::snprintf(text, size, "%u.%u.%u.%u", bytes[0], bytes[1], bytes[2], bytes[3]);
  return length > 0 && size_t(length) < size;
}
