#pragma once
// The machine's network adapters as the device registry publishes them, read
// from Linux: the interfaces with their hardware addresses (getifaddrs) and the
// interface of the default route (the kernel's IPv4 route table). Tests put a
// made-up machine in place with Substitute.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

struct NetworkAdapter {
  static constexpr size_t kAddressSize = 6;

  std::string name;
  std::array<uint8_t, kAddressSize> hardwareAddress{};
  bool hasHardwareAddress = false;  // a six-byte link address that is not all zero
  bool up = false;
  bool loopback = false;
};

class NetworkAdapters {
 public:
  // Every interface of the machine (or of the substitute), in the system's order.
  static std::vector<NetworkAdapter> List();
  // The adapter the machine reaches the network through: the interface of the
  // default route when it has a hardware address, else the first interface
  // that is up, is not the loopback and has one. Empty name when there is none.
  static NetworkAdapter Primary();

  // The interface of the default route with the lowest metric in a table of
  // the kernel's format (a header line, then one tab-separated route a line:
  // interface, destination, gateway, flags, ... metric, mask in hexadecimal);
  // "" when the table has no usable default route.
  static std::string DefaultRouteInterface(const std::string& routeTable);
  static NetworkAdapter ChoosePrimary(const std::vector<NetworkAdapter>& adapters,
                                      const std::string& defaultRouteInterface);

  // For tests: answer these adapters and this route table until Reset.
  static void Substitute(const std::vector<NetworkAdapter>& adapters,
                         const std::string& routeTable);
  static void Reset();

 private:
  static std::vector<NetworkAdapter> SystemAdapters();
  static std::string SystemRouteTable();
};
