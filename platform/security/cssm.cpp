#include "security/cssm.h"

#include <openssl/evp.h>

#include <climits>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <vector>

#include "security/PBKDF2KeyCache.h"

const CSSM_GUID gGuidStandardCSP = {
    0x5a505853, 0x4353, 0x5031, {0x73, 0x74, 0x61, 0x6e, 0x64, 0x61, 0x72, 0x64}};

namespace {

constexpr size_t kAESBlock = 16;

struct Attachment {
  CSSM_API_MEMORY_FUNCS memory;
};

struct Context {
  CSSM_CSP_HANDLE csp;
  bool derivesKeys;  // a PBKDF2 context; otherwise AES-CBC
  CSSM_KEY_TYPE keyType;
  uint32 keyBits;
  uint32 iterations;
  std::vector<uint8> salt;
  std::vector<uint8> key;
  std::vector<uint8> iv;
};

struct Framework {
  bool initialised = false;
  bool providerLoaded = false;
  CSSM_HANDLE lastHandle = 0;
  std::map<CSSM_HANDLE, Attachment> attachments;
  std::map<CSSM_HANDLE, Context> contexts;
};

Framework& State() {
  static Framework framework;
  return framework;
}

PBKDF2KeyCache& DerivedKeys() {
  static PBKDF2KeyCache keys;
  return keys;
}

bool IsStandardProvider(const CSSM_GUID* guid) {
  return guid && std::memcmp(guid, &gGuidStandardCSP, sizeof *guid) == 0;
}

Attachment* FindAttachment(CSSM_CSP_HANDLE handle) {
  auto found = State().attachments.find(handle);
  return found == State().attachments.end() ? nullptr : &found->second;
}

Context* FindContext(CSSM_CC_HANDLE handle, bool derivesKeys) {
  auto found = State().contexts.find(handle);
  if (found == State().contexts.end() || found->second.derivesKeys != derivesKeys) return nullptr;
  return &found->second;
}

std::vector<uint8> Bytes(const CSSM_DATA& data) {
  return data.Length ? std::vector<uint8>(data.Data, data.Data + data.Length)
                     : std::vector<uint8>();
}

CSSM_RETURN AddContext(Context context, CSSM_CC_HANDLE* newContextHandle) {
  *newContextHandle = ++State().lastHandle;
  State().contexts.emplace(*newContextHandle, std::move(context));
  return CSSM_OK;
}

// Allocates with the application's functions; a zero length gives an empty result.
bool Allocate(const Attachment& attachment, CSSM_SIZE length, CSSM_DATA* data) {
  data->Length = 0;
  data->Data = nullptr;
  if (length == 0) return true;
  data->Data =
      static_cast<uint8*>(attachment.memory.malloc_func(length, attachment.memory.AllocRef));
  if (!data->Data) return false;
  data->Length = length;
  return true;
}

void Release(const Attachment& attachment, CSSM_DATA* data) {
  if (data->Data) attachment.memory.free_func(data->Data, attachment.memory.AllocRef);
  data->Data = nullptr;
  data->Length = 0;
}

bool IsAESKeyLength(size_t keyBytes) { return keyBytes == 16 || keyBytes == 24 || keyBytes == 32; }

struct CipherRelease {
  void operator()(EVP_CIPHER* cipher) const { EVP_CIPHER_free(cipher); }
};
using FetchedCipher = std::unique_ptr<EVP_CIPHER, CipherRelease>;

FetchedCipher Fetch(const char* name) {
  return FetchedCipher(EVP_CIPHER_fetch(nullptr, name, nullptr));
}

// The AES-CBC cipher for the key length, fetched from the library once: a built-in
// cipher handed to every initialisation would have its implementation looked up
// again each time. Null when the length is not AES's or the library lacks it.
const EVP_CIPHER* AESCipher(size_t keyBytes) {
  static const FetchedCipher aes128 = Fetch("AES-128-CBC");
  static const FetchedCipher aes192 = Fetch("AES-192-CBC");
  static const FetchedCipher aes256 = Fetch("AES-256-CBC");
  switch (keyBytes) {
    case 16:
      return aes128.get();
    case 24:
      return aes192.get();
    case 32:
      return aes256.get();
    default:
      return nullptr;
  }
}

// Runs the context's cipher over one buffer: all but the final block into `out`, the
// final block into `rem`, both allocated for the caller.
CSSM_RETURN Transform(CSSM_CC_HANDLE ccHandle, bool encrypt, const CSSM_DATA* inBufs,
                      uint32 inCount, CSSM_DATA_PTR outBufs, uint32 outCount, CSSM_SIZE* done,
                      CSSM_DATA_PTR rem) {
  const Context* context = FindContext(ccHandle, false);
  if (!context) return CSSMERR_CSP_INVALID_CONTEXT_HANDLE;
  if (!inBufs || inCount != 1 || !outBufs || outCount != 1 || !done || !rem ||
      (inBufs->Length && !inBufs->Data))
    return CSSMERR_CSP_INVALID_POINTER;
  if (inBufs->Length > size_t(INT_MAX) - kAESBlock) return CSSMERR_CSP_INVALID_DATA;
  const Attachment& attachment = *FindAttachment(context->csp);
  std::unique_ptr<EVP_CIPHER_CTX, decltype(&EVP_CIPHER_CTX_free)> cipher(EVP_CIPHER_CTX_new(),
                                                                         EVP_CIPHER_CTX_free);
  CSSM_DATA bulk{};
  CSSM_DATA last{};
  if (!cipher || !Allocate(attachment, inBufs->Length + kAESBlock, &bulk) ||
      !Allocate(attachment, kAESBlock, &last)) {
    Release(attachment, &bulk);
    return CSSMERR_CSP_MEMORY_ERROR;
  }
  int bulkLength = 0;
  int finalLength = 0;
  const bool transformed =
      EVP_CipherInit_ex(cipher.get(), AESCipher(context->key.size()), nullptr, context->key.data(),
                        context->iv.data(), encrypt) == 1 &&
      EVP_CipherUpdate(cipher.get(), bulk.Data, &bulkLength, inBufs->Data, int(inBufs->Length)) ==
          1 &&
      EVP_CipherFinal_ex(cipher.get(), last.Data, &finalLength) == 1;
  if (!transformed) {
    Release(attachment, &bulk);
    Release(attachment, &last);
    return encrypt ? CSSMERR_CSP_INTERNAL_ERROR : CSSMERR_CSP_INVALID_DATA;
  }
  bulk.Length = size_t(bulkLength);
  last.Length = size_t(finalLength);
  if (bulk.Length == 0) Release(attachment, &bulk);
  if (last.Length == 0) Release(attachment, &last);
  *outBufs = bulk;
  *rem = last;
  *done = bulk.Length + last.Length;
  return CSSM_OK;
}

const char* ErrorName(CSSM_RETURN error) {
  switch (error) {
    case CSSM_OK:
      return "No error";
    case CSSMERR_CSSM_INTERNAL_ERROR:
      return "CSSMERR_CSSM_INTERNAL_ERROR";
    case CSSMERR_CSSM_INVALID_POINTER:
      return "CSSMERR_CSSM_INVALID_POINTER";
    case CSSMERR_CSSM_NOT_INITIALIZED:
      return "CSSMERR_CSSM_NOT_INITIALIZED";
    case CSSMERR_CSSM_INVALID_GUID:
      return "CSSMERR_CSSM_INVALID_GUID";
    case CSSMERR_CSSM_MODULE_NOT_LOADED:
      return "CSSMERR_CSSM_MODULE_NOT_LOADED";
    case CSSMERR_CSSM_INVALID_ADDIN_HANDLE:
      return "CSSMERR_CSSM_INVALID_ADDIN_HANDLE";
    case CSSMERR_CSP_INTERNAL_ERROR:
      return "CSSMERR_CSP_INTERNAL_ERROR";
    case CSSMERR_CSP_MEMORY_ERROR:
      return "CSSMERR_CSP_MEMORY_ERROR";
    case CSSMERR_CSP_INVALID_POINTER:
      return "CSSMERR_CSP_INVALID_POINTER";
    case CSSMERR_CSP_INVALID_CONTEXT_HANDLE:
      return "CSSMERR_CSP_INVALID_CONTEXT_HANDLE";
    case CSSMERR_CSP_INVALID_ALGORITHM:
      return "CSSMERR_CSP_INVALID_ALGORITHM";
    case CSSMERR_CSP_INVALID_KEY:
      return "CSSMERR_CSP_INVALID_KEY";
    case CSSMERR_CSP_INVALID_DATA:
      return "CSSMERR_CSP_INVALID_DATA";
    case CSSMERR_CSP_INVALID_ATTR_INIT_VECTOR:
      return "CSSMERR_CSP_INVALID_ATTR_INIT_VECTOR";
    case CSSMERR_CSP_INVALID_ATTR_PADDING:
      return "CSSMERR_CSP_INVALID_ATTR_PADDING";
    case CSSMERR_CSP_INVALID_ATTR_MODE:
      return "CSSMERR_CSP_INVALID_ATTR_MODE";
    case CSSMERR_CSP_INVALID_ATTR_SALT:
      return "CSSMERR_CSP_INVALID_ATTR_SALT";
    case CSSMERR_CSP_INVALID_ATTR_ITERATION_COUNT:
      return "CSSMERR_CSP_INVALID_ATTR_ITERATION_COUNT";
    case CSSMERR_CSP_INVALID_ATTR_KEY_LENGTH:
      return "CSSMERR_CSP_INVALID_ATTR_KEY_LENGTH";
    default:
      return nullptr;
  }
}

}  // namespace

CSSM_RETURN CSSM_Init(const CSSM_VERSION* version, CSSM_PRIVILEGE_SCOPE,
                      const CSSM_GUID* callerGuid, CSSM_KEY_HIERARCHY, CSSM_PVC_MODE* pvcPolicy,
                      const void*) {
  if (!version || !callerGuid || !pvcPolicy) return CSSMERR_CSSM_INVALID_POINTER;
  State().initialised = true;
  return CSSM_OK;
}

CSSM_RETURN CSSM_ModuleLoad(const CSSM_GUID* moduleGuid, CSSM_KEY_HIERARCHY,
                            CSSM_API_ModuleEventHandler, void*) {
  if (!State().initialised) return CSSMERR_CSSM_NOT_INITIALIZED;
  if (!IsStandardProvider(moduleGuid)) return CSSMERR_CSSM_INVALID_GUID;
  State().providerLoaded = true;
  return CSSM_OK;
}

CSSM_RETURN CSSM_ModuleUnload(const CSSM_GUID* moduleGuid, CSSM_API_ModuleEventHandler, void*) {
  if (!State().initialised) return CSSMERR_CSSM_NOT_INITIALIZED;
  if (!IsStandardProvider(moduleGuid)) return CSSMERR_CSSM_INVALID_GUID;
  return CSSM_OK;  // the provider stays available for the process's other users
}

CSSM_RETURN CSSM_ModuleAttach(const CSSM_GUID* moduleGuid, const CSSM_VERSION* version,
                              const CSSM_API_MEMORY_FUNCS* memoryFuncs, uint32, CSSM_SERVICE_TYPE,
                              CSSM_ATTACH_FLAGS, CSSM_KEY_HIERARCHY, CSSM_FUNC_NAME_ADDR*, uint32,
                              const void*, CSSM_MODULE_HANDLE_PTR newModuleHandle) {
  if (!State().initialised) return CSSMERR_CSSM_NOT_INITIALIZED;
  if (!IsStandardProvider(moduleGuid)) return CSSMERR_CSSM_INVALID_GUID;
  if (!State().providerLoaded) return CSSMERR_CSSM_MODULE_NOT_LOADED;
  if (!version || !memoryFuncs || !memoryFuncs->malloc_func || !memoryFuncs->free_func ||
      !newModuleHandle)
    return CSSMERR_CSSM_INVALID_POINTER;
  *newModuleHandle = ++State().lastHandle;
  State().attachments.emplace(*newModuleHandle, Attachment{*memoryFuncs});
  return CSSM_OK;
}

CSSM_RETURN CSSM_ModuleDetach(CSSM_MODULE_HANDLE moduleHandle) {
  if (State().attachments.erase(moduleHandle) == 0) return CSSMERR_CSSM_INVALID_ADDIN_HANDLE;
  auto& contexts = State().contexts;
  for (auto it = contexts.begin(); it != contexts.end();)
    it = it->second.csp == moduleHandle ? contexts.erase(it) : std::next(it);
  return CSSM_OK;
}

CSSM_RETURN CSSM_CSP_CreateDeriveKeyContext(CSSM_CSP_HANDLE cspHandle, CSSM_ALGORITHMS algorithmId,
                                            CSSM_KEY_TYPE deriveKeyType,
                                            uint32 deriveKeyLengthInBits,
                                            const CSSM_ACCESS_CREDENTIALS*, const CSSM_KEY*,
                                            uint32 iterationCount, const CSSM_DATA* salt,
                                            const CSSM_CRYPTO_DATA*,
                                            CSSM_CC_HANDLE* newContextHandle) {
  if (!FindAttachment(cspHandle)) return CSSMERR_CSSM_INVALID_ADDIN_HANDLE;
  if (!newContextHandle) return CSSMERR_CSP_INVALID_POINTER;
  if (algorithmId != CSSM_ALGID_PKCS5_PBKDF2) return CSSMERR_CSP_INVALID_ALGORITHM;
  if (deriveKeyLengthInBits == 0 || deriveKeyLengthInBits % 8 != 0 || deriveKeyLengthInBits > 4096)
    return CSSMERR_CSP_INVALID_ATTR_KEY_LENGTH;
  if (iterationCount == 0 || iterationCount > INT_MAX)
    return CSSMERR_CSP_INVALID_ATTR_ITERATION_COUNT;
  if (!salt || (salt->Length && !salt->Data) || salt->Length > INT_MAX)
    return CSSMERR_CSP_INVALID_ATTR_SALT;
  return AddContext(Context{cspHandle,
                            true,
                            deriveKeyType,
                            deriveKeyLengthInBits,
                            iterationCount,
                            Bytes(*salt),
                            {},
                            {}},
                    newContextHandle);
}

CSSM_RETURN CSSM_DeriveKey(CSSM_CC_HANDLE ccHandle, CSSM_DATA_PTR param, uint32 keyUsage,
                           uint32 keyAttr, const CSSM_DATA*, const CSSM_RESOURCE_CONTROL_CONTEXT*,
                           CSSM_KEY_PTR derivedKey) {
  const Context* context = FindContext(ccHandle, true);
  if (!context) return CSSMERR_CSP_INVALID_CONTEXT_HANDLE;
  if (!param || !param->Data || param->Length < sizeof(CSSM_PKCS5_PBKDF2_PARAMS) || !derivedKey)
    return CSSMERR_CSP_INVALID_POINTER;
  CSSM_PKCS5_PBKDF2_PARAMS parameters;
  std::memcpy(&parameters, param->Data, sizeof parameters);
  if (parameters.PseudoRandomFunction != CSSM_PKCS5_PBKDF2_PRF_HMAC_SHA1)
    return CSSMERR_CSP_INVALID_ALGORITHM;
  const CSSM_DATA& passphrase = parameters.Passphrase;
  if ((passphrase.Length && !passphrase.Data) || passphrase.Length > INT_MAX)
    return CSSMERR_CSP_INVALID_POINTER;
  const Attachment& attachment = *FindAttachment(context->csp);
  CSSM_DATA keyData{};
  if (!Allocate(attachment, context->keyBits / 8, &keyData)) return CSSMERR_CSP_MEMORY_ERROR;
  if (!DerivedKeys().Derive(passphrase.Data, passphrase.Length, context->salt.data(),
                            context->salt.size(), context->iterations, keyData.Data,
                            keyData.Length)) {
    Release(attachment, &keyData);
    return CSSMERR_CSP_INTERNAL_ERROR;
  }
  derivedKey->KeyHeader = CSSM_KEYHEADER{context->keyType, CSSM_KEYCLASS_SESSION_KEY,
                                         context->keyBits, keyAttr, keyUsage};
  derivedKey->KeyData = keyData;
  return CSSM_OK;
}

CSSM_RETURN CSSM_CSP_CreateSymmetricContext(CSSM_CSP_HANDLE cspHandle, CSSM_ALGORITHMS algorithmId,
                                            CSSM_ENCRYPT_MODE mode, const CSSM_ACCESS_CREDENTIALS*,
                                            const CSSM_KEY* key, const CSSM_DATA* initVector,
                                            CSSM_PADDING padding, void*,
                                            CSSM_CC_HANDLE* newContextHandle) {
  if (!FindAttachment(cspHandle)) return CSSMERR_CSSM_INVALID_ADDIN_HANDLE;
  if (!newContextHandle) return CSSMERR_CSP_INVALID_POINTER;
  if (algorithmId != CSSM_ALGID_AES) return CSSMERR_CSP_INVALID_ALGORITHM;
  if (mode != CSSM_ALGMODE_CBCPadIV8) return CSSMERR_CSP_INVALID_ATTR_MODE;
  if (padding != CSSM_PADDING_PKCS7 && padding != CSSM_PADDING_PKCS5)
    return CSSMERR_CSP_INVALID_ATTR_PADDING;
  if (!key || !key->KeyData.Data || !IsAESKeyLength(key->KeyData.Length))
    return CSSMERR_CSP_INVALID_KEY;
  if (!initVector || !initVector->Data || initVector->Length != kAESBlock)
    return CSSMERR_CSP_INVALID_ATTR_INIT_VECTOR;
  return AddContext(Context{cspHandle,
                            false,
                            algorithmId,
                            uint32(key->KeyData.Length * 8),
                            0,
                            {},
                            Bytes(key->KeyData),
                            Bytes(*initVector)},
                    newContextHandle);
}

CSSM_RETURN CSSM_EncryptData(CSSM_CC_HANDLE ccHandle, const CSSM_DATA* clearBufs,
                             uint32 clearBufCount, CSSM_DATA_PTR cipherBufs, uint32 cipherBufCount,
                             CSSM_SIZE* bytesEncrypted, CSSM_DATA_PTR remData) {
  return Transform(ccHandle, true, clearBufs, clearBufCount, cipherBufs, cipherBufCount,
                   bytesEncrypted, remData);
}

CSSM_RETURN CSSM_DecryptData(CSSM_CC_HANDLE ccHandle, const CSSM_DATA* cipherBufs,
                             uint32 cipherBufCount, CSSM_DATA_PTR clearBufs, uint32 clearBufCount,
                             CSSM_SIZE* bytesDecrypted, CSSM_DATA_PTR remData) {
  return Transform(ccHandle, false, cipherBufs, cipherBufCount, clearBufs, clearBufCount,
                   bytesDecrypted, remData);
}

CSSM_RETURN CSSM_DeleteContext(CSSM_CC_HANDLE ccHandle) {
  if (State().contexts.erase(ccHandle) == 0) return CSSMERR_CSP_INVALID_CONTEXT_HANDLE;
  return CSSM_OK;
}

CSSM_RETURN CSSM_FreeKey(CSSM_CSP_HANDLE cspHandle, const CSSM_ACCESS_CREDENTIALS*,
                         CSSM_KEY_PTR keyPtr, CSSM_BOOL) {
  const Attachment* attachment = FindAttachment(cspHandle);
  if (!attachment) return CSSMERR_CSSM_INVALID_ADDIN_HANDLE;
  if (!keyPtr) return CSSMERR_CSP_INVALID_POINTER;
  Release(*attachment, &keyPtr->KeyData);
  return CSSM_OK;
}

void cssmPerror(const char* how, CSSM_RETURN error) {
  const char* name = ErrorName(error);
  if (name)
    std::fprintf(stderr, "%s: %s\n", how ? how : "error", name);
  else
    std::fprintf(stderr, "%s: error 0x%08x\n", how ? how : "error", unsigned(error));
}
