#pragma once
// The system's wrappers over the platform's cryptographic service framework: attach
// to the standard provider, derive an AES key from a password, encrypt and decrypt
// with it. Every CSSM_DATA these functions return was allocated with appMalloc and
// is released with appFree.

#include "security/cssm.h"

// The memory functions handed to the framework.
void* appMalloc(CSSM_SIZE size, void* allocRef);
void appFree(void* memblock, void* allocRef);
void* appRealloc(void* memblock, CSSM_SIZE size, void* allocRef);
void* appCalloc(uint32 num, CSSM_SIZE size, void* allocRef);

// Starts the framework once per process, loads and attaches the standard provider.
CSSM_RETURN cdsaCspAttach(CSSM_CSP_HANDLE* cspHandle);
CSSM_RETURN cdsaCspDetach(CSSM_CSP_HANDLE cspHandle);

// PBKDF2 with HMAC-SHA1 over the password bytes, 1000 iterations and the system's
// fixed salt, giving a key of keyAlg whose data is returned and extractable.
CSSM_RETURN cdsaDeriveKey(CSSM_CSP_HANDLE cspHandle, const CSSM_DATA* password,
                          CSSM_ALGORITHMS keyAlg, uint32 keySizeInBits, CSSM_KEY_PTR key);
CSSM_RETURN cdsaFreeKey(CSSM_CSP_HANDLE cspHandle, CSSM_KEY_PTR key);

// CBC with PKCS #7 padding and a zero initialisation vector; the output holds the
// final block too. Only AES keys are taken: any other algorithm gives
// CSSMERR_CSP_INTERNAL_ERROR.
CSSM_RETURN cdsaEncrypt(CSSM_CSP_HANDLE cspHandle, const CSSM_KEY* key, const CSSM_DATA* plainText,
                        CSSM_DATA_PTR cipherText);
CSSM_RETURN cdsaDecrypt(CSSM_CSP_HANDLE cspHandle, const CSSM_KEY* key, const CSSM_DATA* cipherText,
                        CSSM_DATA_PTR plainText);
