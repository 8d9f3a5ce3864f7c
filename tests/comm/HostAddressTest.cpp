#include <arpa/inet.h>
#include <gtest/gtest.h>

#include <cstring>

#include "comm/HostAddress.h"
#include "testing/InjectedHostResolver.h"

namespace {

// A record whose every byte is 0xAB, to see which bytes a lookup writes.
HostAddressRecord Scribbled() {
  HostAddressRecord record;
  std::memset(&record, 0xAB, sizeof record);
  return record;
}

bool PaddingIsZero(const HostAddressRecord& record) {
  for (uint8_t byte : record.padding)
    if (byte != 0) return false;
  return true;
}

}  // namespace

TEST(HostAddress, DottedQuadsNeverWaitForTheHostDatabase) {
  InjectedHostResolver hosts;
  hosts.Add("192.168.0.10", {"10.9.9.9"});  // a lookup would give itself away

  HostAddressRecord record = Scribbled();
  ASSERT_EQ(LookupHostAddress("127.0.0.1", &record), kLookupDone);
  const auto* bytes = reinterpret_cast<const uint8_t*>(&record);
  EXPECT_EQ(bytes[0], 16);
  EXPECT_EQ(bytes[1], 2);
  EXPECT_EQ(bytes[2], 0);
  EXPECT_EQ(bytes[3], 0);
  EXPECT_EQ(bytes[4], 127);
  EXPECT_EQ(bytes[7], 1);
  EXPECT_TRUE(PaddingIsZero(record));

  char text[16];
  ASSERT_TRUE(ResolveHostToAddrString("192.168.0.10", text, sizeof text));
  EXPECT_STREQ(text, "192.168.0.10");
  ASSERT_TRUE(ResolveHostToAddrString("255.255.255.255", text, sizeof text));
  EXPECT_STREQ(text, "255.255.255.255");
  EXPECT_FALSE(ResolveHostToAddrString("255.255.255.254", text, 8));  // too small for the text
  in_addr_t address = 0;
  ASSERT_TRUE(ResolveHostToAddr("10.1.2.3", &address));
  EXPECT_EQ(address, htonl(0x0A010203));
  EXPECT_EQ(hosts.LookupCount(), 0);

  EXPECT_EQ(InetToAddr("10.1.2"), htonl(0x0A010002));  // the classic short form a.b.c
  EXPECT_EQ(InetToAddr("printer-1"), INADDR_NONE);
  EXPECT_EQ(InetToAddr(nullptr), INADDR_NONE);
}

TEST(HostAddress, NamesGoThroughTheHostDatabaseForIPv4Only) {
  InjectedHostResolver hosts;
  hosts.Add("printer-1", {"fe80::1", "10.0.0.7", "10.0.0.8"});
  hosts.Add("six-only", {"fe80::2", "2001:db8::1"});

  HostAddressRecord record = Scribbled();
  EXPECT_EQ(LookupHostAddress(nullptr, &record), kLookupMissingArgument);
  EXPECT_EQ(LookupHostAddress("printer-1", nullptr), kLookupMissingArgument);
  EXPECT_EQ(hosts.LookupCount(), 0);

  ASSERT_EQ(LookupHostAddress("printer-1", &record), kLookupDone);
  EXPECT_EQ(record.length, 16);
  EXPECT_EQ(record.family, kHostAddressFamilyInet);
  EXPECT_EQ(record.port, 0);
  EXPECT_EQ(record.address, htonl(0x0A000007));
  EXPECT_TRUE(PaddingIsZero(record));

  // Unresolved names leave the record cleared, not half written.
  record = Scribbled();
  EXPECT_EQ(LookupHostAddress("six-only", &record), kLookupUnresolved);
  EXPECT_EQ(record.length, 0);
  EXPECT_EQ(record.address, 0u);
  EXPECT_EQ(LookupHostAddress("nowhere", &record), kLookupUnresolved);
  char text[16] = "unchanged";
  EXPECT_FALSE(ResolveHostToAddrString("nowhere", text, sizeof text));
  EXPECT_STREQ(text, "unchanged");
  EXPECT_EQ(hosts.LookupCount(), 4);
}

TEST(HostAddress, LocalhostThroughTheSystemResolver) {
  char text[16];
  ASSERT_TRUE(ResolveHostToAddrString("localhost", text, sizeof text));
  EXPECT_STREQ(text, "127.0.0.1");
}
