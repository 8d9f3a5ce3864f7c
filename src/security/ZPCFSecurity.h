#pragma once
// Base64 and password-based string encryption on platform strings and data, exported
// with unmangled names. Results follow the Create rule: the caller releases them.

#include "cf/CoreFoundation.h"
#include "foundation/ZPXExport.h"

// The Base64 text of the bytes, without line breaks; null for a null data object.
ZPX_EXPORT CFStringRef ZPCFBase64CreateEncodedString(CFDataRef data);
// The bytes of a Base64 text; characters outside the alphabet are skipped and the
// first "=" ends it. Null for a null string.
ZPX_EXPORT CFDataRef ZPCFBase64CreateDecodedData(CFStringRef string);

// The Base64 text of the text's UTF-8 bytes encrypted under a key derived from the
// password; a null text counts as empty. Null on failure.
ZPX_EXPORT CFStringRef ZPCFCreateEncryptedString(CFStringRef text, CFStringRef password);
// The text that ZPCFCreateEncryptedString encrypted; null when the Base64 text does not
// decrypt under the password to UTF-8.
ZPX_EXPORT CFStringRef ZPCFCreateDecryptedString(CFStringRef base64Text, CFStringRef password);
