#pragma once
// Host names and dotted quads to IPv4 addresses, through the system's host
// database. Lookups block the calling thread.

#include <netinet/in.h>

#include <cstddef>

// The address of a dotted quad in network order; INADDR_NONE for any other text.
in_addr_t InetToAddr(const char* text);

enum : int {
  kLookupDone = 0,
  kLookupMissingArgument = 22,
  kLookupUnresolved = 65,
};

// Fills `record` (cleared first) with the host's first IPv4 address.
int LookupHostAddress(const char* name, sockaddr_in* record);
// The host's address in network order.
bool ResolveHostToAddr(const char* name, in_addr_t* address);
// The host's address as "%u.%u.%u.%u" in `text` of `size` bytes (16 suffice).
bool ResolveHostToAddrString(const char* name, char* text, size_t size);
