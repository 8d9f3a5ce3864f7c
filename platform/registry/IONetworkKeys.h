#pragma once
// Class and property names of network services in the device registry.

#define kIOEthernetInterfaceClass "IOEthernetInterface"
#define kIOEthernetControllerClass "IOEthernetController"
// A Boolean of an interface: true for the machine's primary adapter only.
#define kIOPrimaryInterface "IOPrimaryInterface"
#define kIOBSDNameKey "BSD Name"
// The controller's hardware address, a data object of kIOEthernetAddressSize bytes.
#define kIOMACAddress "IOMACAddress"
#define kIOEthernetAddressSize 6
