#include "registry/IOKitLib.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cf/CFRef.h"
#include "registry/IONetworkKeys.h"
#include "support/SubstitutedAdapters.h"

namespace {

// The services a matching dictionary finds, each as the hardware address of
// its parent and its name, in the registry's order.
std::vector<std::string> Matched(CFMutableDictionaryRef matching) {
  std::vector<std::string> found;
  io_iterator_t services = IO_OBJECT_NULL;
  EXPECT_EQ(IOServiceGetMatchingServices(kIOMasterPortDefault, matching, &services), KERN_SUCCESS);
  while (io_object_t service = IOIteratorNext(services)) {
    io_registry_entry_t parent = IO_OBJECT_NULL;
    EXPECT_EQ(IORegistryEntryGetParentEntry(service, kIOServicePlane, &parent), KERN_SUCCESS);
    CFRef<CFTypeRef> address(
        IORegistryEntryCreateCFProperty(parent, CFSTR(kIOMACAddress), kCFAllocatorDefault, 0));
    CFRef<CFTypeRef> name(
        IORegistryEntryCreateCFProperty(service, CFSTR(kIOBSDNameKey), kCFAllocatorDefault, 0));
    EXPECT_TRUE(address && name);
    if (address && name) {
      auto data = static_cast<CFDataRef>(address.get());
      EXPECT_EQ(CFDataGetLength(data), kIOEthernetAddressSize);
      char text[64];
      CFStringGetCString(static_cast<CFStringRef>(name.get()), text, sizeof text,
                         kCFStringEncodingUTF8);
      found.push_back(std::string(text) + "=" + std::to_string(CFDataGetBytePtr(data)[5]));
    }
    EXPECT_EQ(IOObjectRelease(parent), KERN_SUCCESS);
    EXPECT_EQ(IOObjectRelease(service), KERN_SUCCESS);
  }
  EXPECT_EQ(IOIteratorNext(services), IO_OBJECT_NULL);
  EXPECT_EQ(IOObjectRelease(services), KERN_SUCCESS);
  EXPECT_EQ(IOObjectRelease(services), KERN_INVALID_ARGUMENT);
  return found;
}

CFMutableDictionaryRef PrimaryInterfaces() {
  CFMutableDictionaryRef matching = IOServiceMatching(kIOEthernetInterfaceClass);
  CFRef<CFMutableDictionaryRef> property(CFDictionaryCreateMutable(
      kCFAllocatorDefault, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks));
  CFDictionarySetValue(property.get(), CFSTR(kIOPrimaryInterface), kCFBooleanTrue);
  CFDictionarySetValue(matching, CFSTR(kIOPropertyMatchKey), property.get());
  return matching;
}

TEST(IOKitLibTest, EthernetInterfacesAreMatchedByClassAndProperties) {
  SubstitutedAdapters machine({Adapter("lo", {}, true, true), Adapter("eth0", {2, 0, 0, 0, 0, 1}),
                               Adapter("wlan0", {2, 0, 0, 0, 0, 2}), Adapter("tun0", {})},
                              DefaultRouteTable("wlan0"));
  // Adapters without a hardware address are not in the registry.
  EXPECT_EQ(Matched(IOServiceMatching(kIOEthernetInterfaceClass)),
            (std::vector<std::string>{"eth0=1", "wlan0=2"}));
  EXPECT_EQ(Matched(PrimaryInterfaces()), std::vector<std::string>{"wlan0=2"});
  EXPECT_TRUE(Matched(IOServiceMatching("IOUSBDevice")).empty());

  CFMutableDictionaryRef wrongType = IOServiceMatching(kIOEthernetInterfaceClass);
  CFDictionarySetValue(wrongType, CFSTR(kIOPropertyMatchKey), kCFBooleanTrue);
  EXPECT_TRUE(Matched(wrongType).empty());
}

TEST(IOKitLibTest, ObjectsAnswerOnlyWhatTheyAre) {
  SubstitutedAdapters machine({Adapter("eth0", {2, 0, 0, 0, 0, 1})}, DefaultRouteTable("eth0"));
  io_iterator_t services = IO_OBJECT_NULL;
  EXPECT_EQ(IOServiceGetMatchingServices(kIOMasterPortDefault, nullptr, &services),
            kIOReturnBadArgument);
  EXPECT_EQ(IOServiceGetMatchingServices(kIOMasterPortDefault,
                                         IOServiceMatching(kIOEthernetInterfaceClass), &services),
            KERN_SUCCESS);
  const io_object_t service = IOIteratorNext(services);
  ASSERT_NE(service, IO_OBJECT_NULL);

  // An iterator is no registry entry, an entry no iterator.
  io_registry_entry_t parent = IO_OBJECT_NULL;
  EXPECT_EQ(IORegistryEntryGetParentEntry(services, kIOServicePlane, &parent),
            KERN_INVALID_ARGUMENT);
  EXPECT_EQ(IORegistryEntryCreateCFProperty(services, CFSTR(kIOMACAddress), nullptr, 0), nullptr);
  EXPECT_EQ(IOIteratorNext(service), IO_OBJECT_NULL);

  EXPECT_EQ(IORegistryEntryGetParentEntry(service, "IODeviceTree", &parent), kIOReturnBadArgument);
  ASSERT_EQ(IORegistryEntryGetParentEntry(service, kIOServicePlane, &parent), KERN_SUCCESS);
  io_registry_entry_t grandparent = IO_OBJECT_NULL;
  EXPECT_EQ(IORegistryEntryGetParentEntry(parent, kIOServicePlane, &grandparent),
            kIOReturnNoDevice);
  EXPECT_EQ(IORegistryEntryCreateCFProperty(service, CFSTR(kIOMACAddress), nullptr, 0), nullptr);
  CFRef<CFTypeRef> primary(
      IORegistryEntryCreateCFProperty(service, CFSTR(kIOPrimaryInterface), nullptr, 0));
  EXPECT_EQ(primary.get(), kCFBooleanTrue);

  // The objects stay usable after the iterator is released, until their own release.
  EXPECT_EQ(IOObjectRelease(services), KERN_SUCCESS);
  CFRef<CFTypeRef> address(
      IORegistryEntryCreateCFProperty(parent, CFSTR(kIOMACAddress), nullptr, 0));
  EXPECT_TRUE(address);
  EXPECT_EQ(IOObjectRelease(parent), KERN_SUCCESS);
  EXPECT_EQ(IOObjectRelease(service), KERN_SUCCESS);
  EXPECT_EQ(IORegistryEntryCreateCFProperty(parent, CFSTR(kIOMACAddress), nullptr, 0), nullptr);
  EXPECT_EQ(IOObjectRelease(IO_OBJECT_NULL), KERN_INVALID_ARGUMENT);
}

}  // namespace
