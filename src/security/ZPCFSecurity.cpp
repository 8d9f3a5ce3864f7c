#include "security/ZPCFSecurity.h"

#include <string>

#include "security/Base64Decoder.h"
#include "security/Base64Encoder.h"
#include "security/cdsaUtils.h"

namespace {

constexpr uint32 kStringKeyBits = 128;

// The text's UTF-8 bytes; a null text gives none.
std::string UTF8Bytes(CFStringRef text) {
  if (!text) return std::string();
  const CFIndex length = CFStringGetLength(text);
  std::string bytes(size_t(CFStringGetMaximumSizeForEncoding(length, kCFStringEncodingUTF8)), '\0');
  CFIndex used = 0;
  CFStringGetBytes(text, CFRangeMake(0, length), kCFStringEncodingUTF8, 0, false,
                   reinterpret_cast<UInt8*>(&bytes[0]), CFIndex(bytes.size()), &used);
  bytes.resize(size_t(used));
  return bytes;
}

CFStringRef CreateBase64String(const UInt8* bytes, size_t length) {
  std::string text(Base64Encoder::EncodedLength(length, false), '\0');
  text.resize(Base64Encoder::Encode(bytes, length, &text[0], false));
  return CFStringCreateWithBytes(kCFAllocatorDefault, reinterpret_cast<const UInt8*>(text.data()),
                                 CFIndex(text.size()), kCFStringEncodingUTF8, false);
}

std::string DecodeBase64(const std::string& text) {
  std::string bytes(Base64Decoder::MaxDecodedLength(text.size()), '\0');
  Base64Decoder decoder;
  bytes.resize(decoder.Decode(text.data(), text.size(), reinterpret_cast<unsigned char*>(&bytes[0]),
                              bytes.size()));
  return bytes;
}

CSSM_DATA AsData(const std::string& bytes) {
  return CSSM_DATA{bytes.size(), reinterpret_cast<uint8*>(const_cast<char*>(bytes.data()))};
}

// Runs one encryption or decryption under the password's key on the standard
// provider, reporting a failed step of the provider under its name. A text
// that does not decrypt (damaged, or sealed under another password) is an
// answer about that text, not a fault: the caller knows what the text was and
// says so in its own words. The result is allocated with appMalloc; false on
// failure.
bool CryptWithPassword(bool encrypt, const std::string& input, CFStringRef password,
                       CSSM_DATA* output) {
  CSSM_CSP_HANDLE csp = 0;
  CSSM_RETURN result = cdsaCspAttach(&csp);
  if (result != CSSM_OK) {
    cssmPerror("Attach to CSP", result);
    return false;
  }
  const std::string passwordBytes = UTF8Bytes(password);
  const CSSM_DATA passwordData = AsData(passwordBytes);
  CSSM_KEY key{};
  result = cdsaDeriveKey(csp, &passwordData, CSSM_ALGID_AES, kStringKeyBits, &key);
  if (result != CSSM_OK) {
    cssmPerror("DeriveKey", result);
  } else {
    const CSSM_DATA in = AsData(input);
    result = encrypt ? cdsaEncrypt(csp, &key, &in, output) : cdsaDecrypt(csp, &key, &in, output);
    if (result != CSSM_OK && encrypt) cssmPerror("cdsaEncrypt", result);
    cdsaFreeKey(csp, &key);
  }
  cdsaCspDetach(csp);
  return result == CSSM_OK;
}

}  // namespace

CFStringRef ZPCFBase64CreateEncodedString(CFDataRef data) {
  if (!data) return nullptr;
  return CreateBase64String(CFDataGetBytePtr(data), size_t(CFDataGetLength(data)));
}

CFDataRef ZPCFBase64CreateDecodedData(CFStringRef string) {
  if (!string) return nullptr;
  const std::string bytes = DecodeBase64(UTF8Bytes(string));
  return CFDataCreate(kCFAllocatorDefault, reinterpret_cast<const UInt8*>(bytes.data()),
                      CFIndex(bytes.size()));
}

CFStringRef ZPCFCreateEncryptedString(CFStringRef text, CFStringRef password) {
  if (!password) return nullptr;
  CSSM_DATA cipher = {0, nullptr};
  if (!CryptWithPassword(true, UTF8Bytes(text), password, &cipher)) return nullptr;
  CFStringRef encoded = CreateBase64String(cipher.Data, cipher.Length);
  appFree(cipher.Data, nullptr);
  return encoded;
}

CFStringRef ZPCFCreateDecryptedString(CFStringRef base64Text, CFStringRef password) {
  if (!password) return nullptr;
  CSSM_DATA plain = {0, nullptr};
  if (!CryptWithPassword(false, DecodeBase64(UTF8Bytes(base64Text)), password, &plain))
    return nullptr;
  CFStringRef text = CFStringCreateWithBytes(kCFAllocatorDefault, plain.Data, CFIndex(plain.Length),
                                             kCFStringEncodingUTF8, false);
  appFree(plain.Data, nullptr);
  return text;
}
