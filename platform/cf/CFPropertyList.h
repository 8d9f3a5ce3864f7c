#pragma once
// Property lists: trees of strings, numbers, booleans, data, arrays and
// dictionaries, written as XML and read from XML or the binary form.

#include "cf/CFArray.h"
#include "cf/CFBase.h"
#include "cf/CFData.h"
#include "cf/CFDictionary.h"
#include "cf/CFNumber.h"
#include "cf/CFString.h"

typedef CFOptionFlags CFPropertyListMutabilityOptions;
enum : CFPropertyListMutabilityOptions {
  kCFPropertyListImmutable = 0,
  kCFPropertyListMutableContainers = 1,
  kCFPropertyListMutableContainersAndLeaves = 2,
};

typedef CFIndex CFPropertyListFormat;
enum : CFPropertyListFormat {
  kCFPropertyListOpenStepFormat = 1,
  kCFPropertyListXMLFormat_v1_0 = 100,
  kCFPropertyListBinaryFormat_v1_0 = 200,
};

// NULL when the tree holds anything else than the property-list types, a
// dictionary key that is not a string, or a text holding a NUL character, which
// the XML form cannot carry. Dictionary keys are written sorted.
CFDataRef CFPropertyListCreateXMLData(CFAllocatorRef allocator, CFPropertyListRef propertyList);

// Reads XML or binary data. On failure returns NULL and, when errorString is
// given, a description of the fault in *errorString (the caller releases it);
// on success *errorString becomes NULL. Input is untrusted: nesting deeper than
// 256 levels and binary lists that would expand beyond a million objects are
// refused. Dates are not supported and are left out.
CFPropertyListRef CFPropertyListCreateFromXMLData(CFAllocatorRef allocator, CFDataRef xmlData,
                                                  CFOptionFlags mutabilityOption,
                                                  CFStringRef* errorString);
