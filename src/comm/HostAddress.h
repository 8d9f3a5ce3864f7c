#pragma once
// Host names and dotted quads to IPv4 addresses. Names go to the host database
// (HostResolver) and block the calling thread; a dotted quad never does.

#include <netinet/in.h>

#include <cstddef>
#include <cstdint>

// The 16-byte socket-address record the callers exchange: length, family, port,
// IPv4 address in network order, 8 bytes of padding.
struct HostAddressRecord {
  uint8_t length;
  uint8_t family;
  uint16_t port;
  in_addr_t address;
  uint8_t padding[8];
};
static_assert(sizeof(HostAddressRecord) == 16, "the record is 16 bytes");

enum : uint8_t { kHostAddressFamilyInet = 2 };

// The address of a dotted quad in network order; INADDR_NONE for any other text.
in_addr_t InetToAddr(const char* text);

enum : int {
  kLookupDone = 0,
  kLookupMissingArgument = 22,
  kLookupUnresolved = 65,
};

// Fills `record` (cleared first) with the host's first IPv4 address.
int LookupHostAddress(const char* name, HostAddressRecord* record);
// The host's address in network order.
bool ResolveHostToAddr(const char* name, in_addr_t* address);
// The host's address as "%u.%u.%u.%u" in `text` of `size` bytes (16 suffice).
bool ResolveHostToAddrString(const char* name, char* text, size_t size);
