#pragma once
// The fixed key material that the print controller shares with this system:
// the key table and initialisation vector of the encrypted job notes, and the
// master key of the user-authentication record. The controller decrypts with
// the same bytes, so they must match the controller's and never change alone.
// They are secrets: nothing may print, log or save them.

#include <cstddef>

constexpr size_t kJobNoteKeyTableSize = 56;
constexpr size_t kJobNoteIVSize = 16;
constexpr size_t kUserAuthMasterKeySize = 32;

extern const unsigned char kJobNoteKeyTable[kJobNoteKeyTableSize];
extern const unsigned char kJobNoteIV[kJobNoteIVSize];
extern const unsigned char kUserAuthMasterKey[kUserAuthMasterKeySize];
