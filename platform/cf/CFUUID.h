#pragma once
// Platform UUIDs: 16 bytes, written as "XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX".

#include "cf/CFBase.h"

typedef const struct __CFUUID* CFUUIDRef;

struct CFUUIDBytes {
  UInt8 byte0, byte1, byte2, byte3, byte4, byte5, byte6, byte7;
  UInt8 byte8, byte9, byte10, byte11, byte12, byte13, byte14, byte15;
};

// A new random (version 4) UUID.
CFUUIDRef CFUUIDCreate(CFAllocatorRef allocator);
CFUUIDRef CFUUIDCreateFromUUIDBytes(CFAllocatorRef allocator, CFUUIDBytes bytes);
// NULL unless the text is a UUID in its written form (either case of hex digits).
CFUUIDRef CFUUIDCreateFromString(CFAllocatorRef allocator, CFStringRef uuidString);
// All zero for NULL.
CFUUIDBytes CFUUIDGetUUIDBytes(CFUUIDRef uuid);
// Upper-case hex digits.
CFStringRef CFUUIDCreateString(CFAllocatorRef allocator, CFUUIDRef uuid);
// The same object for the same bytes, never freed; the caller does not release it.
CFUUIDRef CFUUIDGetConstantUUIDWithBytes(CFAllocatorRef allocator, UInt8 byte0, UInt8 byte1,
                                         UInt8 byte2, UInt8 byte3, UInt8 byte4, UInt8 byte5,
                                         UInt8 byte6, UInt8 byte7, UInt8 byte8, UInt8 byte9,
                                         UInt8 byte10, UInt8 byte11, UInt8 byte12, UInt8 byte13,
                                         UInt8 byte14, UInt8 byte15);
