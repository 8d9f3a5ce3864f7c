#pragma once
// The device registry: services found through matching dictionaries, walked
// with iterators, linked to their parents, with properties read as platform
// objects. Objects are numbers that the caller releases with IOObjectRelease.
// What the registry holds is what this port can know of the machine: one
// Ethernet interface per network adapter with a hardware address, each with
// its controller as parent (see NetworkAdapters).

#include "cf/CoreFoundation.h"

typedef int kern_return_t;
typedef kern_return_t IOReturn;
typedef unsigned int mach_port_t;
typedef mach_port_t io_object_t;
typedef io_object_t io_iterator_t;
typedef io_object_t io_registry_entry_t;
typedef io_object_t io_service_t;
typedef UInt32 IOOptionBits;
typedef char io_name_t[128];

enum : kern_return_t {
  KERN_SUCCESS = 0,
  KERN_INVALID_ARGUMENT = 4,
  KERN_FAILURE = 5,
};

enum : IOReturn {
  kIOReturnSuccess = KERN_SUCCESS,
  kIOReturnNoDevice = IOReturn(0xe00002c0),
  kIOReturnBadArgument = IOReturn(0xe00002c2),
};

constexpr mach_port_t MACH_PORT_NULL = 0;
constexpr io_object_t IO_OBJECT_NULL = 0;
constexpr mach_port_t kIOMasterPortDefault = MACH_PORT_NULL;

#define kIOServicePlane "IOService"
#define kIOProviderClassKey "IOProviderClass"
#define kIOPropertyMatchKey "IOPropertyMatch"

// A new matching dictionary for services of the class; the caller owns it
// (IOServiceGetMatchingServices consumes it).
CFMutableDictionaryRef IOServiceMatching(const char* name);
// Consumes one reference to `matching` whatever the outcome. The iterator
// lists every service of the dictionary's class whose properties equal all
// entries of its property-match dictionary; it may list none.
kern_return_t IOServiceGetMatchingServices(mach_port_t masterPort, CFDictionaryRef matching,
                                           io_iterator_t* existing);
// The next object (the caller releases it), or IO_OBJECT_NULL at the end.
io_object_t IOIteratorNext(io_iterator_t iterator);
// The entry's parent in the plane (the caller releases it).
kern_return_t IORegistryEntryGetParentEntry(io_registry_entry_t entry, const io_name_t plane,
                                            io_registry_entry_t* parent);
// A new reference to the property's value, or NULL without one.
CFTypeRef IORegistryEntryCreateCFProperty(io_registry_entry_t entry, CFStringRef key,
                                          CFAllocatorRef allocator, IOOptionBits options);
kern_return_t IOObjectRelease(io_object_t object);
