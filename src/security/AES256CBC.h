#pragma once
// AES with a 256-bit key (14 rounds) in CBC mode over 16-byte blocks.

#include <cstddef>
#include <cstdint>

class AES256CBC {
 public:
  enum { DEFAULT_BLOCK_SIZE = 16, KEY_LENGTH = 32, ROUNDS = 14 };

  AES256CBC();

  // Accepts only a 32-byte key and 16-byte blocks; anything else leaves the object
  // without a key. The 16-byte chain becomes the current chaining value.
  bool MakeKey(const unsigned char* key, const unsigned char* chain, int keyLength = KEY_LENGTH,
               int blockSize = DEFAULT_BLOCK_SIZE);

  // One block without chaining; nothing happens without a key.
  void EncryptBlock(const unsigned char* in, unsigned char* out) const;
  void DecryptBlock(const unsigned char* in, unsigned char* out) const;
  void DefEncryptBlock(const unsigned char* in, unsigned char* out) const;
  void DefDecryptBlock(const unsigned char* in, unsigned char* out) const;

  // CBC over the whole length, which must be a non-zero multiple of 16; otherwise,
  // or without a key, nothing is written. The chaining value carries over to the
  // next call. In and out may be the same buffer.
  void Encrypt(const unsigned char* in, unsigned char* out, size_t length);
  void Decrypt(const unsigned char* in, unsigned char* out, size_t length);

 private:
  bool AcceptsLength(size_t length) const;

  enum { kScheduleWords = 4 * (ROUNDS + 1) };
  bool mKeyMade;
  uint32_t mEncryptSchedule[kScheduleWords];
  uint32_t mDecryptSchedule[kScheduleWords];
  unsigned char mChain[DEFAULT_BLOCK_SIZE];
};

// Encrypts a zero-terminated text: the text, its terminator, then n bytes of value
// n-1 up to a multiple of 16. *outLength gives the room in out on entry (all of it is
// cleared) and the ciphertext length on return. Writes nothing when an argument is
// null; when the ciphertext does not fit, out is cleared, *outLength set to 0 and
// false returned.
bool DoAES256Encrypt(const unsigned char* key, const unsigned char* iv, const char* plainText,
                     unsigned char* out, int* outLength);

// Decrypts length bytes, padding left in place. *outLength gives the room in out on
// entry (all of it is cleared) and the plaintext length on return. A length that is
// not a positive multiple of 16 or does not fit gives *outLength 0 and false.
bool DoAES256Decrypt(const unsigned char* key, const unsigned char* iv, const unsigned char* in,
                     int length, unsigned char* out, int* outLength);
