#include "registry/NetworkAdapters.h"

#include <ifaddrs.h>
#include <linux/if_packet.h>
#include <net/if.h>
#include <net/route.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>

namespace {

// The kernel's IPv4 route table.
constexpr char kRouteTablePath[] = "/proc/net/route";
// Far more than any real table; a longer one is read up to here.
constexpr size_t kMaxRouteTableBytes = 1 << 20;

struct Substitution {
  std::vector<NetworkAdapter> adapters;
  std::string routeTable;
};

std::optional<Substitution>& CurrentSubstitution() {
  static std::optional<Substitution> substitution;
  return substitution;
}

bool ParseHex(const std::string& field, unsigned long& value) {
  if (field.empty() || field.size() > 8) return false;
  char* end = nullptr;
  errno = 0;
  value = std::strtoul(field.c_str(), &end, 16);
  return errno == 0 && *end == '\0';
}

bool ParseDecimal(const std::string& field, unsigned long& value) {
  if (field.empty() || field.size() > 10 || field[0] == '-') return false;
  char* end = nullptr;
  errno = 0;
  value = std::strtoul(field.c_str(), &end, 10);
  return errno == 0 && *end == '\0';
}

struct Route {
  std::string interface;
  unsigned long metric = 0;
};

// A route line that leads anywhere: destination and mask 0, route up.
std::optional<Route> DefaultRoute(const std::string& line) {
  std::istringstream fields(line);
  std::string name, destination, gateway, flags, references, use, metric, mask;
  if (!(fields >> name >> destination >> gateway >> flags >> references >> use >> metric >> mask))
    return std::nullopt;
  unsigned long destinationBits, flagBits, metricValue, maskBits;
  if (name.size() >= IFNAMSIZ || !ParseHex(destination, destinationBits) ||
      !ParseHex(flags, flagBits) || !ParseDecimal(metric, metricValue) || !ParseHex(mask, maskBits))
    return std::nullopt;
  if (destinationBits != 0 || maskBits != 0 || (flagBits & RTF_UP) == 0) return std::nullopt;
  return Route{name, metricValue};
}

NetworkAdapter AdapterOf(const ifaddrs& entry) {
  NetworkAdapter adapter;
  adapter.name = entry.ifa_name;
  adapter.up = (entry.ifa_flags & IFF_UP) != 0;
  adapter.loopback = (entry.ifa_flags & IFF_LOOPBACK) != 0;
  const auto* link = reinterpret_cast<const sockaddr_ll*>(entry.ifa_addr);
  if (link->sll_halen == NetworkAdapter::kAddressSize) {
    std::copy_n(link->sll_addr, NetworkAdapter::kAddressSize, adapter.hardwareAddress.begin());
    adapter.hasHardwareAddress =
        std::any_of(adapter.hardwareAddress.begin(), adapter.hardwareAddress.end(),
                    [](uint8_t byte) { return byte != 0; });
  }
  return adapter;
}

}  // namespace

std::vector<NetworkAdapter> NetworkAdapters::List() {
  if (const auto& substitution = CurrentSubstitution()) return substitution->adapters;
  return SystemAdapters();
}

NetworkAdapter NetworkAdapters::Primary() {
  const auto& substitution = CurrentSubstitution();
  const std::string routeTable = substitution ? substitution->routeTable : SystemRouteTable();
  return ChoosePrimary(List(), DefaultRouteInterface(routeTable));
}

std::string NetworkAdapters::DefaultRouteInterface(const std::string& routeTable) {
  std::istringstream lines(routeTable);
  std::string line;
  std::getline(lines, line);  // the header
  std::optional<Route> best;
  while (std::getline(lines, line)) {
    std::optional<Route> route = DefaultRoute(line);
    if (route && (!best || route->metric < best->metric)) best = route;
  }
  return best ? best->interface : std::string();
}

NetworkAdapter NetworkAdapters::ChoosePrimary(const std::vector<NetworkAdapter>& adapters,
                                              const std::string& defaultRouteInterface) {
  auto found = std::find_if(adapters.begin(), adapters.end(), [&](const NetworkAdapter& adapter) {
    return adapter.hasHardwareAddress && adapter.name == defaultRouteInterface;
  });
  if (found == adapters.end())
    found = std::find_if(adapters.begin(), adapters.end(), [](const NetworkAdapter& adapter) {
      return adapter.hasHardwareAddress && adapter.up && !adapter.loopback;
    });
  return found != adapters.end() ? *found : NetworkAdapter();
}

void NetworkAdapters::Substitute(const std::vector<NetworkAdapter>& adapters,
                                 const std::string& routeTable) {
  CurrentSubstitution() = Substitution{adapters, routeTable};
}

void NetworkAdapters::Reset() { CurrentSubstitution().reset(); }

std::vector<NetworkAdapter> NetworkAdapters::SystemAdapters() {
  std::vector<NetworkAdapter> adapters;
  ifaddrs* list = nullptr;
  if (getifaddrs(&list) != 0) return adapters;
  for (const ifaddrs* entry = list; entry != nullptr; entry = entry->ifa_next) {
    // Each interface appears once with its link-layer address.
    if (entry->ifa_addr != nullptr && entry->ifa_addr->sa_family == AF_PACKET)
      adapters.push_back(AdapterOf(*entry));
  }
  freeifaddrs(list);
  return adapters;
}

std::string NetworkAdapters::SystemRouteTable() {
  std::ifstream file(kRouteTablePath);
  std::string table;
  char chunk[4096];
  while (file && table.size() < kMaxRouteTableBytes) {
    file.read(chunk, sizeof chunk);
    table.append(chunk, size_t(file.gcount()));
  }
  return table;
}
