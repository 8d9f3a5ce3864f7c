#include "PPDX/PPDObjects/Controls/PPDXUserAuthLib.h"

#include <string.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <random>

#include "cf/CFRef.h"
#include "foundation/ZPXAssert.h"
#include "registry/IONetworkKeys.h"
#include "security/Base64Decoder.h"
#include "security/Base64Encoder.h"
#include "security/ByteOrder.h"
#include "security/ControllerKeys.h"
#include "security/SHA1.h"
#include "security/SecretBuffer.h"
#include "security/Twofish.h"
#include "security/UniqueClock.h"

namespace {

constexpr uint32_t kRecordVersion = 1;
constexpr int kWordSize = 4;
// Version, three lengths, the domain type and the GUID.
constexpr int kInnerHeaderSize = 5 * kWordSize + kUALGUIDSize;
constexpr int kDigestSize = 20;
constexpr int kSessionKeyWords = 8;
constexpr int kSessionKeySize = kSessionKeyWords * kWordSize;
// Version, the inner part's length, the session key.
constexpr int kOuterHeaderSize = 2 * kWordSize + kSessionKeySize;
constexpr int kOuterTrailerSize = 8;
constexpr int kCipherBlockSize = 16;
// The texts AUTH_packAndEncrypt packs hold at most this many bytes.
constexpr size_t kAuthFieldCapacity = 256;

// The inner part: R as a word, the record, its digest, zeros up to a whole
// number of cipher blocks, always at least one byte of them.
constexpr int InnerPartLength(int recordLength) {
  return (recordLength + kWordSize + kDigestSize) / kCipherBlockSize * kCipherBlockSize +
         kCipherBlockSize;
}

constexpr int OuterLength(int innerLength) {
  return kOuterHeaderSize + innerLength + kOuterTrailerSize;
}

constexpr int EncodedLength(int length) { return 4 * ((length + 2) / 3); }

constexpr int kMaxRecordLength = kInnerHeaderSize + 3 * kUALMaxFieldLength;
constexpr int kMaxEncodedLength = EncodedLength(OuterLength(InnerPartLength(kMaxRecordLength)));

struct Field {
  const char* bytes;
  int length;
};

struct Credentials {
  Field user;
  Field password;
  Field domain;
  UAL_DomainType type;
  const unsigned char* guid;
};

bool MakeField(const char* text, Field& field) {
  const size_t length = strnlen(text, size_t(kUALMaxFieldLength) + 1);
  field = {text, int(length)};
  return length <= size_t(kUALMaxFieldLength);
}

unsigned char* PutWord(unsigned char* place, uint32_t word) {
  StoreBigEndian32(word, place);
  return place + kWordSize;
}

unsigned char* PutBytes(unsigned char* place, const void* bytes, int length) {
  memcpy(place, bytes, size_t(length));
  return place + length;
}

// Writes the inner record into *data, which holds exactly *dataSize bytes.
void WriteInnerRecord(const Credentials& credentials, unsigned char* const* data,
                      const int* dataSize) {
  unsigned char* pCurrent = *data;
  pCurrent = PutWord(pCurrent, kRecordVersion);
  pCurrent = PutWord(pCurrent, uint32_t(credentials.user.length));
  pCurrent = PutWord(pCurrent, uint32_t(credentials.password.length));
  pCurrent = PutWord(pCurrent, uint32_t(credentials.domain.length));
  pCurrent = PutWord(pCurrent, uint32_t(credentials.type));
  pCurrent = PutBytes(pCurrent, credentials.guid, kUALGUIDSize);
  pCurrent = PutBytes(pCurrent, credentials.user.bytes, credentials.user.length);
  pCurrent = PutBytes(pCurrent, credentials.password.bytes, credentials.password.length);
  pCurrent = PutBytes(pCurrent, credentials.domain.bytes, credentials.domain.length);
  ZPX_ASSERT((int)(pCurrent - *data) == *dataSize);
}

// The digest's five words, big-endian.
bool Digest(const unsigned char* bytes, int length, unsigned char* out) {
  SHA1 digest;
  digest.Input(bytes, size_t(length));
  uint32_t words[kDigestSize / kWordSize];
  if (!digest.Result(words)) return false;
  for (uint32_t word : words) out = PutWord(out, word);
  return true;
}

// Eight words for a session key. Its randomness matters little: the key
// travels inside the record under the master key.
void SessionKeyWords(const unsigned char* keyBuffer, uint32_t* words) {
  static std::mt19937 sGenerator(uint32_t(time(nullptr)) + uint32_t(getpid()));
  const uint32_t first = sGenerator();
  words[0] = first;
  words[1] = uint32_t(getpid());
  words[2] = sGenerator();
  words[3] = uint32_t(time(nullptr));
  words[4] = sGenerator();
  words[5] = uint32_t(reinterpret_cast<uintptr_t>(keyBuffer));
  words[6] = sGenerator();
  words[7] = first;
}

// The record carries the key's words big-endian; the cipher takes them in the
// machine's little-endian order.
void CipherKeyOfWords(const uint32_t* words, unsigned char* cipherKey) {
  for (int i = 0; i < kSessionKeyWords; ++i)
    StoreLittleEndian32(words[i], cipherKey + kWordSize * i);
}

void WriteOuterHeader(unsigned char* outer, int innerLength, unsigned char* cipherKey) {
  uint32_t words[kSessionKeyWords];
  SessionKeyWords(cipherKey, words);
  unsigned char* place = PutWord(outer, kRecordVersion);
  place = PutWord(place, uint32_t(innerLength));
  for (uint32_t word : words) place = PutWord(place, word);
  CipherKeyOfWords(words, cipherKey);
  explicit_bzero(words, sizeof words);
}

// Writes the Base64 text of the record, without line breaks, and a terminator
// into out, which has room for maxOutLen characters and the terminator.
void EncodeRecord(const unsigned char* record, int length, char* out, int maxOutLen, int* outLen) {
  *outLen = int(Base64Encoder::Encode(record, size_t(length), out, false));
  ZPX_ASSERT(*outLen <= maxOutLen);
  out[*outLen] = '\0';
}

bool AllZero(const unsigned char* bytes, int length) {
  for (int i = 0; i < length; ++i)
    if (bytes[i] != 0) return false;
  return true;
}

// The bytes of a text in the exact form EncodeRecord writes: any other
// spelling of the same bytes (line breaks, stray or unused bits) is refused,
// so that no change to a record's text goes unnoticed.
bool DecodeCanonical(const char* text, size_t textLength, SecretBuffer& bytes, int& length) {
  Base64Decoder decoder;
  length = int(decoder.Decode(text, textLength, bytes.get(), bytes.size()));
  SecretBuffer again{size_t(EncodedLength(length))};
  if (!again || again.size() != textLength) return false;
  Base64Encoder::Encode(bytes.get(), size_t(length), reinterpret_cast<char*>(again.get()), false);
  return memcmp(again.get(), text, textLength) == 0;
}

// Decrypts the outer record in place and takes the session key out of it;
// innerLength is the length of the encrypted inner part at its offset.
bool OpenOuterRecord(unsigned char* outer, int length, unsigned char* cipherKey, int& innerLength) {
  if (length < OuterLength(InnerPartLength(kInnerHeaderSize)) || length % kCipherBlockSize != 0 ||
      TwofishCrypt(DIR_DECRYPT, kUserAuthMasterKey, outer, length, outer) != 0)
    return false;
  if (LoadBigEndian32(outer) != kRecordVersion ||
      LoadBigEndian32(outer + kWordSize) != uint32_t(length - OuterLength(0)) ||
      !AllZero(outer + length - kOuterTrailerSize, kOuterTrailerSize))
    return false;
  innerLength = length - OuterLength(0);
  uint32_t words[kSessionKeyWords];
  for (int i = 0; i < kSessionKeyWords; ++i)
    words[i] = LoadBigEndian32(outer + 2 * kWordSize + kWordSize * i);
  CipherKeyOfWords(words, cipherKey);
  explicit_bzero(words, sizeof words);
  return true;
}

// Checks the decrypted inner part: a record length that gives exactly this
// part's length, the digest, and zeros after it. recordLength is R.
bool CheckInnerPart(const unsigned char* inner, int innerLength, int& recordLength) {
  const uint32_t length = LoadBigEndian32(inner);
  if (length < uint32_t(kInnerHeaderSize) || length > uint32_t(kMaxRecordLength) ||
      InnerPartLength(int(length)) != innerLength)
    return false;
  recordLength = int(length);
  const unsigned char* record = inner + kWordSize;
  unsigned char digest[kDigestSize];
  if (!Digest(record, recordLength, digest) ||
      memcmp(digest, record + recordLength, kDigestSize) != 0)
    return false;
  const int used = kWordSize + recordLength + kDigestSize;
  return AllZero(inner + used, innerLength - used);
}

// A new text of the bytes with a terminator; null when memory fails.
char* NewText(const unsigned char* bytes, uint32_t length) {
  char* text = static_cast<char*>(malloc(size_t(length) + 1));
  if (text == nullptr) return nullptr;
  memcpy(text, bytes, length);
  text[length] = '\0';
  return text;
}

struct Unpacked {
  char** user;
  char** password;
  char** domain;
  UAL_DomainType* type;
  unsigned char* guid;
};

void FreeTexts(const Unpacked& out) {
  AUTH_freeBuffer(out.user);
  AUTH_freeBuffer(out.password);
  AUTH_freeBuffer(out.domain);
}

// Reads a checked inner record of length bytes into the outputs.
bool ReadInnerRecord(const unsigned char* record, int length, const Unpacked& out) {
  const uint32_t userLength = LoadBigEndian32(record + kWordSize);
  const uint32_t passwordLength = LoadBigEndian32(record + 2 * kWordSize);
  const uint32_t domainLength = LoadBigEndian32(record + 3 * kWordSize);
  if (LoadBigEndian32(record) != kRecordVersion ||
      uint64_t(kInnerHeaderSize) + userLength + passwordLength + domainLength != uint64_t(length))
    return false;
  const unsigned char* user = record + kInnerHeaderSize;
  *out.user = NewText(user, userLength);
  *out.password = NewText(user + userLength, passwordLength);
  *out.domain = NewText(user + userLength + passwordLength, domainLength);
  if (*out.user == nullptr || *out.password == nullptr || *out.domain == nullptr) {
    FreeTexts(out);
    return false;
  }
  *out.type = UAL_DomainType(int32_t(LoadBigEndian32(record + 4 * kWordSize)));
  memcpy(out.guid, record + 5 * kWordSize, kUALGUIDSize);
  return true;
}

// At most kAuthFieldCapacity - 1 bytes of the text, not ending inside a UTF-8
// character.
void CopyCut(const char* text, char* out) {
  size_t length = strnlen(text, kAuthFieldCapacity);
  if (length == kAuthFieldCapacity) {
    length = kAuthFieldCapacity - 1;
    while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80) --length;
  }
  memcpy(out, text, length);
  out[length] = '\0';
}

kern_return_t FindEthernetInterfaces(io_iterator_t* services) {
  CFRef<CFMutableDictionaryRef> matching(IOServiceMatching(kIOEthernetInterfaceClass));
  if (!matching) {
    fprintf(stderr, "IOServiceMatching returned a NULL dictionary.\n");
    return KERN_FAILURE;
  }
  CFRef<CFMutableDictionaryRef> propertyMatch(CFDictionaryCreateMutable(
      kCFAllocatorDefault, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks));
  if (!propertyMatch) {
    fprintf(stderr, "CFDictionaryCreateMutable returned a NULL dictionary.\n");
    return KERN_FAILURE;
  }
  CFDictionarySetValue(propertyMatch.get(), CFSTR(kIOPrimaryInterface), kCFBooleanTrue);
  CFDictionarySetValue(matching.get(), CFSTR(kIOPropertyMatchKey), propertyMatch.get());
  const kern_return_t result =
      IOServiceGetMatchingServices(kIOMasterPortDefault, matching.release(), services);
  if (result != KERN_SUCCESS)
    fprintf(stderr, "IOServiceGetMatchingServices returned 0x%08x\n", unsigned(result));
  return result;
}

void CopyAddressOf(io_registry_entry_t controller, unsigned char* address) {
  CFRef<CFTypeRef> data(
      IORegistryEntryCreateCFProperty(controller, CFSTR(kIOMACAddress), kCFAllocatorDefault, 0));
  if (data && CFGetTypeID(data.get()) == CFDataGetTypeID() &&
      CFDataGetLength(static_cast<CFDataRef>(data.get())) >= kIOEthernetAddressSize)
    memcpy(address, CFDataGetBytePtr(static_cast<CFDataRef>(data.get())), kIOEthernetAddressSize);
}

// The address of the last interface listed; KERN_FAILURE when none is.
kern_return_t GetMACAddress(io_iterator_t services, unsigned char* address) {
  kern_return_t result = KERN_FAILURE;
  while (io_object_t service = IOIteratorNext(services)) {
    io_registry_entry_t controller = IO_OBJECT_NULL;
    result = IORegistryEntryGetParentEntry(service, kIOServicePlane, &controller);
    if (result == KERN_SUCCESS) {
      CopyAddressOf(controller, address);
      IOObjectRelease(controller);
    } else {
      fprintf(stderr, "IORegistryEntryGetParentEntry returned 0x%08x\n", unsigned(result));
    }
    IOObjectRelease(service);
  }
  return result;
}

}  // namespace

int UAL_PackAndEncrypt(const char* user, const char* password, const char* domain,
                       UAL_DomainType type, const unsigned char* guid, char** out) {
  if (out == nullptr) return -1;
  *out = nullptr;
  Credentials credentials{{}, {}, {}, type, guid};
  if (user == nullptr || password == nullptr || guid == nullptr ||
      !MakeField(user, credentials.user) || !MakeField(password, credentials.password) ||
      !MakeField(domain != nullptr ? domain : "", credentials.domain))
    return -1;
  const int recordLength = kInnerHeaderSize + credentials.user.length +
                           credentials.password.length + credentials.domain.length;
  const int innerLength = InnerPartLength(recordLength);
  const int outerLength = OuterLength(innerLength);
  SecretBuffer inner{size_t(innerLength)}, outer{size_t(outerLength)};
  SecretBuffer cipherKey(kSessionKeySize);
  if (!inner || !outer || !cipherKey) return -1;

  PutWord(inner.get(), uint32_t(recordLength));
  unsigned char* const record = inner.get() + kWordSize;
  WriteInnerRecord(credentials, &record, &recordLength);
  if (!Digest(record, recordLength, record + recordLength)) return -1;

  WriteOuterHeader(outer.get(), innerLength, cipherKey.get());
  if (TwofishCrypt(DIR_ENCRYPT, cipherKey.get(), inner.get(), innerLength,
                   outer.get() + kOuterHeaderSize) != 0 ||
      TwofishCrypt(DIR_ENCRYPT, kUserAuthMasterKey, outer.get(), outerLength, outer.get()) != 0)
    return -1;
  const int maxOutLen = EncodedLength(outerLength);
  char* text = static_cast<char*>(malloc(size_t(maxOutLen) + 1));
  if (text == nullptr) return -1;
  int outLen = 0;
  EncodeRecord(outer.get(), outerLength, text, maxOutLen, &outLen);
  *out = text;
  return 0;
}

int UAL_UnpackAndDecrypt(const char* text, char** user, char** password, char** domain,
                         UAL_DomainType* type, unsigned char* guid) {
  if (text == nullptr || user == nullptr || password == nullptr || domain == nullptr ||
      type == nullptr || guid == nullptr)
    return -1;
  *user = *password = *domain = nullptr;
  const size_t textLength = strnlen(text, size_t(kMaxEncodedLength) + 1);
  if (textLength > size_t(kMaxEncodedLength)) return -1;
  SecretBuffer outer(Base64Decoder::MaxDecodedLength(textLength));
  SecretBuffer cipherKey(kSessionKeySize);
  int outerLength = 0, innerLength = 0, recordLength = 0;
  if (!outer || !cipherKey || !DecodeCanonical(text, textLength, outer, outerLength) ||
      !OpenOuterRecord(outer.get(), outerLength, cipherKey.get(), innerLength))
    return -1;
  SecretBuffer inner{size_t(innerLength)};
  if (!inner ||
      TwofishCrypt(DIR_DECRYPT, cipherKey.get(), outer.get() + kOuterHeaderSize, innerLength,
                   inner.get()) != 0 ||
      !CheckInnerPart(inner.get(), innerLength, recordLength))
    return -1;
  return ReadInnerRecord(inner.get() + kWordSize, recordLength,
                         Unpacked{user, password, domain, type, guid})
             ? 0
             : -1;
}

int AUTH_packAndEncrypt(const char* user, const char* password, const char* /*domain*/,
                        UAL_DomainType type, int /*unused*/, char** out) {
  if (out == nullptr) return -1;
  unsigned char guid[kUALGUIDSize];
  CreateGUID(guid);
  char userText[kAuthFieldCapacity] = "";
  char passwordText[kAuthFieldCapacity] = "";
  if (type == kUALDomainDirectory && user != nullptr && password != nullptr && user[0] != '\0') {
    CopyCut(user, userText);
    CopyCut(password, passwordText);
  }
  const int result = UAL_PackAndEncrypt(userText, passwordText, "", kUALDomainDirectory, guid, out);
  explicit_bzero(passwordText, sizeof passwordText);
  return result;
}

void AUTH_freeBuffer(char** buffer) {
  if (buffer == nullptr) return;
  free(*buffer);
  *buffer = nullptr;
}

bool CreateGUID(unsigned char* guid) {
  if (guid == nullptr) return false;
  memset(guid, 0, kUALGUIDSize);
  unsigned char* address = nullptr;
  goGetMACAddress(&address);
  memcpy(guid, address, kIOEthernetAddressSize);
  const ClockReading now = UniqueClock::Now();
  // The top byte's low half carries bits 8 to 11 of the microseconds.
  uint32_t time = uint32_t(now.seconds) << 4;
  time = (time & 0xF0FFFFFFu) | ((uint32_t(now.microseconds) >> 8 & 0xFu) << 24);
  StoreLittleEndian32(time, guid + kIOEthernetAddressSize);
  return true;
}

kern_return_t goGetMACAddress(unsigned char** out) {
  static unsigned char sAddress[kIOEthernetAddressSize];
  memset(sAddress, 0, sizeof sAddress);
  if (out == nullptr) return KERN_INVALID_ARGUMENT;
  *out = sAddress;
  io_iterator_t services = IO_OBJECT_NULL;
  kern_return_t result = FindEthernetInterfaces(&services);
  if (result != KERN_SUCCESS) {
    fprintf(stderr, "FindEthernetInterfaces returned 0x%08x\n", unsigned(result));
    return result;
  }
  result = GetMACAddress(services, sAddress);
  IOObjectRelease(services);
  return result;
}
