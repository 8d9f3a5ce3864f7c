#pragma once
// Platform strings of the standard library's UTF-8 text.

#include <string>

#include "cf/CoreFoundation.h"

// A new platform string of the text; null when the text is no UTF-8. The
// caller releases it.
CFStringRef CreateText(const std::string& utf8);
