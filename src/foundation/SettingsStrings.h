#pragma once
// Texts in a settings store: plain texts are stored without their terminator;
// platform strings in their external form, UTF-16 with a byte-order mark in this
// machine's byte order.

#include "cf/CoreFoundation.h"

class CString;
class DocumentStorage;
class Settings;

// A new string holding the entry's bytes; null when the entry is missing, empty
// or cannot be read. The caller deletes it, or, when it is placed with its
// text in the `storage` given, ends it with DocumentStorage::Destroy.
CString* GetSettingsString(Settings& settings, unsigned long const& key, long const& index,
                           DocumentStorage* storage = nullptr);

// A new platform string from an entry written with CFStringToExternal; null
// under the same conditions. The caller releases it.
CFStringRef GetSettingsCFString(Settings& settings, unsigned long const& key, long const& index);

// A new array (free it with delete[]) holding the string's external form, its
// length in *length; null, with length 0, when it cannot be made.
unsigned char* CFStringToExternal(__CFString const* text, long* length);

// The string of an external form; null for null bytes or a form that does not
// decode. The caller releases it.
CFStringRef ExtenalToCFString(unsigned char* bytes, long length);

// Whether ExtenalToCFString makes a string of `length` bytes: UTF-16 takes
// every 16-bit unit as it stands, so any whole number of units decodes.
constexpr bool ExternalFormDecodes(long length) { return length >= 0 && length % 2 == 0; }
