#pragma once
// The callbacks that make collections hold platform objects, shared by arrays
// and dictionaries.

#include <string>

#include "cf/CFBase.h"

const void* CFTypeRetainCallBack(CFAllocatorRef allocator, const void* value);
void CFTypeReleaseCallBack(CFAllocatorRef allocator, const void* value);
Boolean CFTypeEqualCallBack(const void* value1, const void* value2);
CFHashCode CFTypeHashCallBack(const void* value);

// The description of a collection's value through its description callback;
// a placeholder when the collection has none.
std::u16string CFDescribeValue(const void* value, CFStringRef (*copyDescription)(const void*));
