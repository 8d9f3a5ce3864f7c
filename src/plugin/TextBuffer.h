#pragma once
// Platform strings written into the fixed byte buffers of the plug-in's callers.

#include <cstddef>
#include <string>

#include "cf/CoreFoundation.h"

// Writes the text in the encoding into `buffer` (room for `size` bytes with
// the terminating NUL), cut after the last whole character that fits. Returns
// the bytes written without the NUL, or -1 (and an empty buffer) when the text
// holds a character that the encoding cannot carry or there is no room at all.
long CopyTextCut(CFStringRef text, CFStringEncoding encoding, char* buffer, long size);

// The bytes the whole text takes in the encoding, without a NUL.
long EncodedLength(CFStringRef text, CFStringEncoding encoding);

// Copies `text` with its NUL into `buffer` of `size` bytes only when it fits
// whole; answers whether it did. A text that does not fit leaves the buffer
// alone: cut short, an address or a name would become another one.
bool CopyTextWhole(const char* text, char* buffer, size_t size);

// The whole text in the encoding; empty for none or when a character cannot be carried.
std::string EncodedText(CFStringRef text, CFStringEncoding encoding);

// The whole text in UTF-8; empty for none.
inline std::string UTF8Text(CFStringRef text) { return EncodedText(text, kCFStringEncodingUTF8); }
