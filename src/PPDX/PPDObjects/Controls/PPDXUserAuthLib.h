#pragma once
// The user-authentication record: a user name and password that travel to the
// controller inside one opaque Base64 text. A versioned inner record with its
// SHA-1 digest is encrypted with a fresh session key (Twofish-256, ECB); an
// outer record carries that key and the encrypted inner part and is encrypted
// with the master key shared with the controller. Every number in the records
// is a big-endian 32-bit word.
//
// The texts handed out are allocated with malloc; AUTH_freeBuffer frees them.

#include <cstdint>

#include "foundation/ZPXExport.h"
#include "registry/IOKitLib.h"

// The kind of account; the system packs names only for directory accounts.
enum UAL_DomainType : int32_t {
  kUALDomainDirectory = 2,
};

constexpr int kUALGUIDSize = 16;
// The longest user name, password or domain a record carries, in bytes.
constexpr int kUALMaxFieldLength = 4096;

// Packs the three texts (a null domain is the empty one) with the type and
// GUID into a new Base64 text in *out: 0, or -1 with *out null when a text is
// missing or too long, or memory or a cipher fails.
ZPX_EXPORT int UAL_PackAndEncrypt(const char* user, const char* password, const char* domain,
                                  UAL_DomainType type, const unsigned char* guid, char** out);
// The inverse: 0 with three new texts, the type and the GUID; -1 with every
// output null for any text that UAL_PackAndEncrypt did not make with the
// master key (wrong versions, lengths, digest, padding or Base64 form).
ZPX_EXPORT int UAL_UnpackAndDecrypt(const char* text, char** user, char** password, char** domain,
                                    UAL_DomainType* type, unsigned char* guid);
// Packs the user's name and password for a directory account with a new GUID.
// The domain is never packed (always empty); for another type, or a missing or
// empty user, two empty texts are packed. Names and passwords are cut at 255
// bytes. -1 when out is null.
ZPX_EXPORT int AUTH_packAndEncrypt(const char* user, const char* password, const char* domain,
                                   UAL_DomainType type, int unused, char** out);
// Frees a text handed out here and sets the pointer to null.
ZPX_EXPORT void AUTH_freeBuffer(char** buffer);

// A new identifier: the primary adapter's hardware address in bytes 0 to 5,
// the time in bytes 6 to 9, zero after. False only for a null out.
bool CreateGUID(unsigned char* guid);
// Points *out at a six-byte buffer of the system's holding the primary network
// adapter's hardware address, all zero when there is none; returns the
// registry's status (KERN_FAILURE when no adapter matched).
kern_return_t goGetMACAddress(unsigned char** out);
