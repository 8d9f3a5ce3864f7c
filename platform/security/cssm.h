#pragma once
// The subset of the platform's cryptographic service framework that the system
// calls: framework start-up, loading and attaching the standard cryptographic
// service provider, PBKDF2 key derivation and AES in CBC mode with PKCS #7 padding.
// The provider sits on OpenSSL's libcrypto.

#include <cstddef>
#include <cstdint>

typedef uint8_t uint8;
typedef uint32_t uint32;
typedef int32_t sint32;
typedef size_t CSSM_SIZE;
typedef uint32 CSSM_BOOL;
typedef sint32 CSSM_RETURN;
typedef uintptr_t CSSM_HANDLE;
typedef CSSM_HANDLE CSSM_MODULE_HANDLE;
typedef CSSM_MODULE_HANDLE CSSM_CSP_HANDLE;
typedef CSSM_HANDLE CSSM_CC_HANDLE;
typedef CSSM_MODULE_HANDLE* CSSM_MODULE_HANDLE_PTR;
typedef uint32 CSSM_ALGORITHMS;
typedef uint32 CSSM_KEY_TYPE;
typedef uint32 CSSM_ENCRYPT_MODE;
typedef uint32 CSSM_PADDING;
typedef uint32 CSSM_PRIVILEGE_SCOPE;
typedef uint32 CSSM_KEY_HIERARCHY;
typedef uint32 CSSM_PVC_MODE;
typedef uint32 CSSM_SERVICE_TYPE;
typedef uint32 CSSM_ATTACH_FLAGS;
typedef uint32 CSSM_PKCS5_PBKDF2_PRF;

enum { CSSM_FALSE = 0, CSSM_TRUE = 1, CSSM_OK = 0 };

struct CSSM_DATA {
  CSSM_SIZE Length;
  uint8* Data;
};
typedef CSSM_DATA* CSSM_DATA_PTR;

struct CSSM_GUID {
  uint32 Data1;
  uint16_t Data2;
  uint16_t Data3;
  uint8 Data4[8];
};

struct CSSM_VERSION {
  uint32 Major;
  uint32 Minor;
};

// The application's memory functions; the provider allocates every result it hands
// back with them, and the application frees those results with its own.
struct CSSM_API_MEMORY_FUNCS {
  void* (*malloc_func)(CSSM_SIZE size, void* allocRef);
  void (*free_func)(void* memblock, void* allocRef);
  void* (*realloc_func)(void* memblock, CSSM_SIZE size, void* allocRef);
  void* (*calloc_func)(uint32 num, CSSM_SIZE size, void* allocRef);
  void* AllocRef;
};

struct CSSM_KEYHEADER {
  CSSM_ALGORITHMS AlgorithmId;
  uint32 KeyClass;
  uint32 LogicalKeySizeInBits;
  uint32 KeyAttr;
  uint32 KeyUsage;
};

struct CSSM_KEY {
  CSSM_KEYHEADER KeyHeader;
  CSSM_DATA KeyData;
};
typedef CSSM_KEY* CSSM_KEY_PTR;

struct CSSM_PKCS5_PBKDF2_PARAMS {
  CSSM_DATA Passphrase;
  CSSM_PKCS5_PBKDF2_PRF PseudoRandomFunction;
};

// Parameters this provider does not use; callers pass null.
struct CSSM_ACCESS_CREDENTIALS;
struct CSSM_RESOURCE_CONTROL_CONTEXT;
struct CSSM_CRYPTO_DATA;
struct CSSM_FUNC_NAME_ADDR;
typedef CSSM_RETURN (*CSSM_API_ModuleEventHandler)(const CSSM_GUID* moduleGuid, void* context,
                                                   uint32 subserviceId,
                                                   CSSM_SERVICE_TYPE serviceType, uint32 eventType);

enum {
  CSSM_PRIVILEGE_SCOPE_NONE = 0,
  CSSM_KEY_HIERARCHY_NONE = 0,
  CSSM_PVC_NONE = 0,
  CSSM_SERVICE_CSP = 0x2,
  CSSM_ALGID_PKCS5_PBKDF2 = 0x8000000B,
  CSSM_ALGID_AES = 0x80000001,
  CSSM_ALGMODE_CBCPadIV8 = 6,
  CSSM_PADDING_PKCS5 = 1,
  CSSM_PADDING_PKCS7 = 2,
  CSSM_PKCS5_PBKDF2_PRF_HMAC_SHA1 = 0,
  CSSM_KEYCLASS_SESSION_KEY = 2,
  CSSM_KEYUSE_ANY = 0x80000000,
  CSSM_KEYATTR_RETURN_DATA = 0x10000000,
  CSSM_KEYATTR_EXTRACTABLE = 0x00000020,
};

// Error codes: framework errors from 0x80010000, provider errors from 0x80010800.
enum : sint32 {
  CSSMERR_CSSM_INTERNAL_ERROR = sint32(0x80010001),
  CSSMERR_CSSM_INVALID_POINTER = sint32(0x80010004),
  CSSMERR_CSSM_NOT_INITIALIZED = sint32(0x80010119),
  CSSMERR_CSSM_INVALID_GUID = sint32(0x8001011B),
  CSSMERR_CSSM_MODULE_NOT_LOADED = sint32(0x80010124),
  CSSMERR_CSSM_INVALID_ADDIN_HANDLE = sint32(0x80010110),
  CSSMERR_CSP_INTERNAL_ERROR = sint32(0x80010801),
  CSSMERR_CSP_MEMORY_ERROR = sint32(0x80010802),
  CSSMERR_CSP_INVALID_POINTER = sint32(0x80010804),
  CSSMERR_CSP_INVALID_CONTEXT_HANDLE = sint32(0x80010840),
  CSSMERR_CSP_INVALID_ALGORITHM = sint32(0x80010C02),
  CSSMERR_CSP_INVALID_KEY = sint32(0x80010C03),
  CSSMERR_CSP_INVALID_DATA = sint32(0x80010C06),
  CSSMERR_CSP_INVALID_ATTR_INIT_VECTOR = sint32(0x80010C21),
  CSSMERR_CSP_INVALID_ATTR_PADDING = sint32(0x80010C23),
  CSSMERR_CSP_INVALID_ATTR_MODE = sint32(0x80010C25),
  CSSMERR_CSP_INVALID_ATTR_SALT = sint32(0x80010C2B),
  CSSMERR_CSP_INVALID_ATTR_ITERATION_COUNT = sint32(0x80010C4D),
  CSSMERR_CSP_INVALID_ATTR_KEY_LENGTH = sint32(0x80010C33),
};

// The platform's standard cryptographic service provider.
extern const CSSM_GUID gGuidStandardCSP;

CSSM_RETURN CSSM_Init(const CSSM_VERSION* version, CSSM_PRIVILEGE_SCOPE scope,
                      const CSSM_GUID* callerGuid, CSSM_KEY_HIERARCHY keyHierarchy,
                      CSSM_PVC_MODE* pvcPolicy, const void* reserved);
CSSM_RETURN CSSM_ModuleLoad(const CSSM_GUID* moduleGuid, CSSM_KEY_HIERARCHY keyHierarchy,
                            CSSM_API_ModuleEventHandler appNotifyCallback,
                            void* appNotifyCallbackCtx);
CSSM_RETURN CSSM_ModuleUnload(const CSSM_GUID* moduleGuid,
                              CSSM_API_ModuleEventHandler appNotifyCallback,
                              void* appNotifyCallbackCtx);
CSSM_RETURN CSSM_ModuleAttach(const CSSM_GUID* moduleGuid, const CSSM_VERSION* version,
                              const CSSM_API_MEMORY_FUNCS* memoryFuncs, uint32 subserviceId,
                              CSSM_SERVICE_TYPE subServiceType, CSSM_ATTACH_FLAGS attachFlags,
                              CSSM_KEY_HIERARCHY keyHierarchy, CSSM_FUNC_NAME_ADDR* functionTable,
                              uint32 numFunctionTable, const void* reserved,
                              CSSM_MODULE_HANDLE_PTR newModuleHandle);
CSSM_RETURN CSSM_ModuleDetach(CSSM_MODULE_HANDLE moduleHandle);

// A PBKDF2 context: the derived key's algorithm and size, the iteration count and
// the salt. The passphrase and pseudo-random function come with CSSM_DeriveKey.
CSSM_RETURN CSSM_CSP_CreateDeriveKeyContext(CSSM_CSP_HANDLE cspHandle, CSSM_ALGORITHMS algorithmId,
                                            CSSM_KEY_TYPE deriveKeyType,
                                            uint32 deriveKeyLengthInBits,
                                            const CSSM_ACCESS_CREDENTIALS* accessCred,
                                            const CSSM_KEY* baseKey, uint32 iterationCount,
                                            const CSSM_DATA* salt, const CSSM_CRYPTO_DATA* seed,
                                            CSSM_CC_HANDLE* newContextHandle);
// param points to a CSSM_PKCS5_PBKDF2_PARAMS. The key data is allocated with the
// attachment's memory functions. The provider remembers the keys it derived most
// recently (PBKDF2KeyCache): the same inputs again cost no iterations.
CSSM_RETURN CSSM_DeriveKey(CSSM_CC_HANDLE ccHandle, CSSM_DATA_PTR param, uint32 keyUsage,
                           uint32 keyAttr, const CSSM_DATA* keyLabel,
                           const CSSM_RESOURCE_CONTROL_CONTEXT* credAndAclEntry,
                           CSSM_KEY_PTR derivedKey);

CSSM_RETURN CSSM_CSP_CreateSymmetricContext(CSSM_CSP_HANDLE cspHandle, CSSM_ALGORITHMS algorithmId,
                                            CSSM_ENCRYPT_MODE mode,
                                            const CSSM_ACCESS_CREDENTIALS* accessCred,
                                            const CSSM_KEY* key, const CSSM_DATA* initVector,
                                            CSSM_PADDING padding, void* reserved,
                                            CSSM_CC_HANDLE* newContextHandle);
// One input buffer and one output buffer. The output buffer receives all but the
// final padded block, remData the final block; both are allocated with the
// attachment's memory functions.
CSSM_RETURN CSSM_EncryptData(CSSM_CC_HANDLE ccHandle, const CSSM_DATA* clearBufs,
                             uint32 clearBufCount, CSSM_DATA_PTR cipherBufs, uint32 cipherBufCount,
                             CSSM_SIZE* bytesEncrypted, CSSM_DATA_PTR remData);
CSSM_RETURN CSSM_DecryptData(CSSM_CC_HANDLE ccHandle, const CSSM_DATA* cipherBufs,
                             uint32 cipherBufCount, CSSM_DATA_PTR clearBufs, uint32 clearBufCount,
                             CSSM_SIZE* bytesDecrypted, CSSM_DATA_PTR remData);
CSSM_RETURN CSSM_DeleteContext(CSSM_CC_HANDLE ccHandle);

// Frees the key's data with the attachment's memory functions.
CSSM_RETURN CSSM_FreeKey(CSSM_CSP_HANDLE cspHandle, const CSSM_ACCESS_CREDENTIALS* accessCred,
                         CSSM_KEY_PTR keyPtr, CSSM_BOOL deleteKey);

// Prints "how: <error name>" on standard error.
void cssmPerror(const char* how, CSSM_RETURN error);
