#include "security/cdsaUtils.h"

#include <cstdlib>
#include <cstring>

namespace {

// Fixed for every build: texts encrypted by one build are only readable by a build
// with the same values.
constexpr uint8 kDeriveSalt[8] = {0x3c, 0x9e, 0x47, 0x11, 0xd2, 0x68, 0xa5, 0x0f};
constexpr uint8 kDeriveKeyLabel[8] = {'Z', 'P', 'X', 'N', 'o', 't', 'e', 'K'};
constexpr uint32 kDeriveIterations = 1000;

constexpr CSSM_VERSION kFrameworkVersion = {2, 0};
constexpr CSSM_GUID kCallerGuid = {
    0x5a505844, 0x4350, 0x4445, {0x73, 0x65, 0x63, 0x75, 0x72, 0x69, 0x74, 0x79}};

const CSSM_API_MEMORY_FUNCS kMemoryFunctions = {appMalloc, appFree, appRealloc, appCalloc, nullptr};

CSSM_RETURN InitialiseFrameworkOnce() {
  static bool initialised = false;
  if (initialised) return CSSM_OK;
  CSSM_PVC_MODE pvcPolicy = CSSM_PVC_NONE;
  const CSSM_RETURN result = CSSM_Init(&kFrameworkVersion, CSSM_PRIVILEGE_SCOPE_NONE, &kCallerGuid,
                                       CSSM_KEY_HIERARCHY_NONE, &pvcPolicy, nullptr);
  initialised = result == CSSM_OK;
  return result;
}

CSSM_RETURN CreateCipherContext(CSSM_CSP_HANDLE cspHandle, const CSSM_KEY* key,
                                CSSM_CC_HANDLE* context) {
  uint8 zeroVector[16] = {};
  const CSSM_DATA initVector = {sizeof zeroVector, zeroVector};
  if (!key || key->KeyHeader.AlgorithmId != CSSM_ALGID_AES) return CSSMERR_CSP_INTERNAL_ERROR;
  return CSSM_CSP_CreateSymmetricContext(cspHandle, CSSM_ALGID_AES, CSSM_ALGMODE_CBCPadIV8, nullptr,
                                         key, &initVector, CSSM_PADDING_PKCS7, nullptr, context);
}

// Appends the remainder the provider hands back separately to the output.
CSSM_RETURN AppendRemainder(CSSM_DATA_PTR out, CSSM_DATA* remainder) {
  if (remainder->Length == 0) return CSSM_OK;
  void* grown = appRealloc(out->Data, out->Length + remainder->Length, nullptr);
  if (!grown) {
    appFree(remainder->Data, nullptr);
    return CSSMERR_CSP_MEMORY_ERROR;
  }
  out->Data = static_cast<uint8*>(grown);
  std::memcpy(out->Data + out->Length, remainder->Data, remainder->Length);
  out->Length += remainder->Length;
  appFree(remainder->Data, nullptr);
  return CSSM_OK;
}

CSSM_RETURN Crypt(bool encrypt, CSSM_CSP_HANDLE cspHandle, const CSSM_KEY* key, const CSSM_DATA* in,
                  CSSM_DATA_PTR out) {
  CSSM_CC_HANDLE context = 0;
  CSSM_RETURN result = CreateCipherContext(cspHandle, key, &context);
  if (result != CSSM_OK) return result;
  CSSM_SIZE processed = 0;
  CSSM_DATA remainder = {0, nullptr};
  *out = CSSM_DATA{0, nullptr};
  result = encrypt ? CSSM_EncryptData(context, in, 1, out, 1, &processed, &remainder)
                   : CSSM_DecryptData(context, in, 1, out, 1, &processed, &remainder);
  if (result == CSSM_OK) result = AppendRemainder(out, &remainder);
  CSSM_DeleteContext(context);
  if (result != CSSM_OK) {
    appFree(out->Data, nullptr);
    *out = CSSM_DATA{0, nullptr};
  }
  return result;
}

}  // namespace

void* appMalloc(CSSM_SIZE size, void*) { return std::malloc(size); }

void appFree(void* memblock, void*) { std::free(memblock); }

void* appRealloc(void* memblock, CSSM_SIZE size, void*) { return std::realloc(memblock, size); }

void* appCalloc(uint32 num, CSSM_SIZE size, void*) { return std::calloc(num, size); }

CSSM_RETURN cdsaCspAttach(CSSM_CSP_HANDLE* cspHandle) {
  CSSM_RETURN result = InitialiseFrameworkOnce();
  if (result == CSSM_OK)
    result = CSSM_ModuleLoad(&gGuidStandardCSP, CSSM_KEY_HIERARCHY_NONE, nullptr, nullptr);
  if (result != CSSM_OK) return result;
  return CSSM_ModuleAttach(&gGuidStandardCSP, &kFrameworkVersion, &kMemoryFunctions, 0,
                           CSSM_SERVICE_CSP, 0, CSSM_KEY_HIERARCHY_NONE, nullptr, 0, nullptr,
                           cspHandle);
}

CSSM_RETURN cdsaCspDetach(CSSM_CSP_HANDLE cspHandle) {
  const CSSM_RETURN result = CSSM_ModuleDetach(cspHandle);
  if (result != CSSM_OK) return result;
  return CSSM_ModuleUnload(&gGuidStandardCSP, nullptr, nullptr);
}

CSSM_RETURN cdsaDeriveKey(CSSM_CSP_HANDLE cspHandle, const CSSM_DATA* password,
                          CSSM_ALGORITHMS keyAlg, uint32 keySizeInBits, CSSM_KEY_PTR key) {
  if (!password || !key) return CSSMERR_CSP_INVALID_POINTER;
  const CSSM_DATA salt = {sizeof kDeriveSalt, const_cast<uint8*>(kDeriveSalt)};
  CSSM_CC_HANDLE context = 0;
  CSSM_RETURN result = CSSM_CSP_CreateDeriveKeyContext(cspHandle, CSSM_ALGID_PKCS5_PBKDF2, keyAlg,
                                                       keySizeInBits, nullptr, nullptr,
                                                       kDeriveIterations, &salt, nullptr, &context);
  if (result != CSSM_OK) return result;
  CSSM_PKCS5_PBKDF2_PARAMS parameters = {*password, CSSM_PKCS5_PBKDF2_PRF_HMAC_SHA1};
  CSSM_DATA parameterData = {sizeof parameters, reinterpret_cast<uint8*>(&parameters)};
  const CSSM_DATA label = {sizeof kDeriveKeyLabel, const_cast<uint8*>(kDeriveKeyLabel)};
  std::memset(key, 0, sizeof *key);
  result =
      CSSM_DeriveKey(context, &parameterData, CSSM_KEYUSE_ANY,
                     CSSM_KEYATTR_RETURN_DATA | CSSM_KEYATTR_EXTRACTABLE, &label, nullptr, key);
  CSSM_DeleteContext(context);
  return result;
}

CSSM_RETURN cdsaFreeKey(CSSM_CSP_HANDLE cspHandle, CSSM_KEY_PTR key) {
  return CSSM_FreeKey(cspHandle, nullptr, key, CSSM_FALSE);
}

CSSM_RETURN cdsaEncrypt(CSSM_CSP_HANDLE cspHandle, const CSSM_KEY* key, const CSSM_DATA* plainText,
                        CSSM_DATA_PTR cipherText) {
  return Crypt(true, cspHandle, key, plainText, cipherText);
}

CSSM_RETURN cdsaDecrypt(CSSM_CSP_HANDLE cspHandle, const CSSM_KEY* key, const CSSM_DATA* cipherText,
                        CSSM_DATA_PTR plainText) {
  return Crypt(false, cspHandle, key, cipherText, plainText);
}
