#pragma once
// The standard library's UTF-8 text: platform strings of it, and where it may
// be cut.

#include <string>

#include "cf/CoreFoundation.h"

// A new platform string of the text; null when the text is no UTF-8. The
// caller releases it.
CFStringRef CreateText(const std::string& utf8);

// The longest start of the UTF-8 text of at most `limit` bytes that ends on a
// character boundary.
size_t UTF8BoundaryCut(const std::string& utf8, size_t limit);
