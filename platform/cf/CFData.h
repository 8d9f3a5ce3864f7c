#pragma once
// Platform byte blocks, immutable and mutable.

#include "cf/CFBase.h"

typedef const struct __CFData* CFDataRef;
typedef struct __CFData* CFMutableDataRef;

CFTypeID CFDataGetTypeID();

CFDataRef CFDataCreate(CFAllocatorRef allocator, const UInt8* bytes, CFIndex length);
CFDataRef CFDataCreateCopy(CFAllocatorRef allocator, CFDataRef data);
// The capacity is only a hint: blocks grow as needed.
CFMutableDataRef CFDataCreateMutable(CFAllocatorRef allocator, CFIndex capacity);
CFMutableDataRef CFDataCreateMutableCopy(CFAllocatorRef allocator, CFIndex capacity,
                                         CFDataRef data);

CFIndex CFDataGetLength(CFDataRef data);
const UInt8* CFDataGetBytePtr(CFDataRef data);
UInt8* CFDataGetMutableBytePtr(CFMutableDataRef data);
void CFDataGetBytes(CFDataRef data, CFRange range, UInt8* buffer);

void CFDataAppendBytes(CFMutableDataRef data, const UInt8* bytes, CFIndex length);
// Bytes added by growing are zero. Ranges outside the block are clipped to it.
void CFDataSetLength(CFMutableDataRef data, CFIndex length);
void CFDataIncreaseLength(CFMutableDataRef data, CFIndex extraLength);
void CFDataReplaceBytes(CFMutableDataRef data, CFRange range, const UInt8* newBytes,
                        CFIndex newLength);
void CFDataDeleteBytes(CFMutableDataRef data, CFRange range);
