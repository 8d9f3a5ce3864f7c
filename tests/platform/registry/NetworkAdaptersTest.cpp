#include "registry/NetworkAdapters.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "support/SubstitutedAdapters.h"

namespace {

const std::string kHeader =
    "Iface\tDestination\tGateway \tFlags\tRefCnt\tUse\tMetric\tMask\t\tMTU\tWindow\tIRTT\n";

std::string Route(const std::string& interface, const char* destination, const char* flags,
                  const char* metric, const char* mask) {
  return interface + "\t" + destination + "\t0102A8C0\t" + flags + "\t0\t0\t" + metric + "\t" +
         mask + "\t0\t0\t0\n";
}

TEST(NetworkAdaptersTest, TheDefaultRouteIsTheUpRouteToEverywhereWithTheLowestMetric) {
  EXPECT_EQ(NetworkAdapters::DefaultRouteInterface(""), "");
  EXPECT_EQ(NetworkAdapters::DefaultRouteInterface(kHeader), "");
  // The header alone is never read as a route, even when it looks like one.
  EXPECT_EQ(
      NetworkAdapters::DefaultRouteInterface(Route("eth0", "00000000", "0003", "0", "00000000")),
      "");

  const std::string table = kHeader + Route("eth0", "0002A8C0", "0001", "0", "00FFFFFF") +
                            Route("down0", "00000000", "0002", "0", "00000000") +
                            Route("wlan0", "00000000", "0003", "600", "00000000") +
                            Route("masked", "00000000", "0003", "1", "000000FF") +
                            Route("eth1", "00000000", "0003", "100", "00000000") +
                            Route("eth2", "00000000", "0003", "100", "00000000");
  EXPECT_EQ(NetworkAdapters::DefaultRouteInterface(table), "eth1");

  // Lines that do not read as routes are passed over.
  const std::string odd = kHeader + "eth0\t00000000\n" +
                          Route("averyveryverylongname", "00000000", "0003", "0", "00000000") +
                          Route("bad", "0000000G", "0003", "0", "00000000") +
                          Route("negative", "00000000", "0003", "-1", "00000000") +
                          Route("huge", "00000000", "0003", "99999999999", "00000000") +
                          Route("ppp0", "00000000", "0001", "7", "00000000");
  EXPECT_EQ(NetworkAdapters::DefaultRouteInterface(odd), "ppp0");
}

TEST(NetworkAdaptersTest, ThePrimaryIsTheDefaultRoutesAdapterElseTheFirstUsableOne) {
  const std::vector<NetworkAdapter> adapters = {
      Adapter("lo", {}, true, true),
      Adapter("tun0", {}),
      Adapter("eth0", {0x02, 0, 0, 0, 0, 0x01}, false),
      Adapter("eth1", {0x02, 0, 0, 0, 0, 0x02}),
      Adapter("eth2", {0x02, 0, 0, 0, 0, 0x03}),
  };
  EXPECT_EQ(NetworkAdapters::ChoosePrimary(adapters, "eth2").name, "eth2");
  // The route's interface is taken even while it reports itself down.
  EXPECT_EQ(NetworkAdapters::ChoosePrimary(adapters, "eth0").name, "eth0");
  // A route through an interface without a hardware address, or none at all.
  EXPECT_EQ(NetworkAdapters::ChoosePrimary(adapters, "tun0").name, "eth1");
  EXPECT_EQ(NetworkAdapters::ChoosePrimary(adapters, "").name, "eth1");
  EXPECT_EQ(NetworkAdapters::ChoosePrimary(adapters, "lo").name, "eth1");

  const NetworkAdapter none =
      NetworkAdapters::ChoosePrimary({Adapter("lo", {}, true, true), adapters[1], adapters[2]}, "");
  EXPECT_EQ(none.name, "");
  EXPECT_FALSE(none.hasHardwareAddress);

  SubstitutedAdapters machine(adapters, DefaultRouteTable("eth2"));
  EXPECT_EQ(NetworkAdapters::List().size(), adapters.size());
  EXPECT_EQ(NetworkAdapters::Primary().hardwareAddress[5], 0x03);
}

std::string SysfsAddress(const std::string& name) {
  std::ifstream file("/sys/class/net/" + name + "/address");
  std::string address;
  file >> address;
  return address;
}

std::string Formatted(const NetworkAdapter& adapter) {
  char text[18];
  const auto& a = adapter.hardwareAddress;
  std::snprintf(text, sizeof text, "%02x:%02x:%02x:%02x:%02x:%02x", a[0], a[1], a[2], a[3], a[4],
                a[5]);
  return text;
}

// The kernel's own listing of the interfaces agrees with what is read here.
TEST(NetworkAdaptersTest, TheMachinesAdaptersAreTheKernelsInterfaces) {
  NetworkAdapters::Reset();
  for (const NetworkAdapter& adapter : NetworkAdapters::List()) {
    ASSERT_TRUE(std::filesystem::exists("/sys/class/net/" + adapter.name)) << adapter.name;
    if (adapter.hasHardwareAddress) {
      EXPECT_EQ(Formatted(adapter), SysfsAddress(adapter.name));
    }
  }
  const NetworkAdapter primary = NetworkAdapters::Primary();
  if (!primary.name.empty()) {
    EXPECT_FALSE(primary.loopback);
    EXPECT_EQ(Formatted(primary), SysfsAddress(primary.name));
  }
}

}  // namespace
