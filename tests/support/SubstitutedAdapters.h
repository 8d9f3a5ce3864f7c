#pragma once
// A made-up machine for the device registry: these network adapters and this
// route table stand in for the real ones while the object lives.

#include <initializer_list>
#include <string>
#include <vector>

#include "registry/NetworkAdapters.h"

// An adapter with an address of six bytes (all zero: none).
inline NetworkAdapter Adapter(const std::string& name, std::initializer_list<uint8_t> address,
                              bool up = true, bool loopback = false) {
  NetworkAdapter adapter;
  adapter.name = name;
  size_t place = 0;
  for (uint8_t byte : address) adapter.hardwareAddress[place++] = byte;
  for (uint8_t byte : adapter.hardwareAddress) adapter.hasHardwareAddress |= byte != 0;
  adapter.up = up;
  adapter.loopback = loopback;
  return adapter;
}

// A route table of the kernel's format with one default route through the
// interface ("" for a table without one).
inline std::string DefaultRouteTable(const std::string& interface) {
  std::string table =
      "Iface\tDestination\tGateway \tFlags\tRefCnt\tUse\tMetric\tMask\t\tMTU\tWindow\tIRTT\n";
  if (!interface.empty())
    table += interface + "\t00000000\t0102A8C0\t0003\t0\t0\t0\t00000000\t0\t0\t0\n";
  return table;
}

class SubstitutedAdapters {
 public:
  SubstitutedAdapters(const std::vector<NetworkAdapter>& adapters, const std::string& routeTable) {
    NetworkAdapters::Substitute(adapters, routeTable);
  }
  ~SubstitutedAdapters() { NetworkAdapters::Reset(); }
  SubstitutedAdapters(const SubstitutedAdapters&) = delete;
  SubstitutedAdapters& operator=(const SubstitutedAdapters&) = delete;
};
