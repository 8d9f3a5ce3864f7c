#pragma once
// SHA-1 message digest, fed piecewise.

#include <cstddef>
#include <cstdint>

class SHA1 {
 public:
  SHA1();
  virtual ~SHA1();

  void Reset();

  // The digest as five words in host order; false when the message was too long or
  // input followed an earlier result (both need a Reset).
  bool Result(uint32_t* digest);

  void Input(const unsigned char* bytes, size_t length);
  void Input(const char* bytes, size_t length);
  void Input(unsigned char byte);
  void Input(char character);

  // Zero-terminated texts and single characters.
  SHA1& operator<<(const char* text);
  SHA1& operator<<(const unsigned char* text);
  SHA1& operator<<(char character);
  SHA1& operator<<(unsigned char byte);

 private:
  enum { kBlockBytes = 64 };
  void ProcessBlock(const unsigned char* block);
  void Finish();

  uint32_t mHash[5];
  uint64_t mLengthBits;
  unsigned char mBlock[kBlockBytes];
  size_t mBlockUsed;
  bool mComputed;
  bool mCorrupted;
};
