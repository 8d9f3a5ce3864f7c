#include "security/SHA1.h"

#include <cstring>

#include "security/ByteOrder.h"

namespace {

constexpr uint32_t kInitialHash[5] = {0x67452301, 0xEFCDAB89, 0x98BADCFE, 0x10325476, 0xC3D2E1F0};

}  // namespace

SHA1::SHA1() { Reset(); }

SHA1::~SHA1() = default;

void SHA1::Reset() {
  std::memcpy(mHash, kInitialHash, sizeof mHash);
  mLengthBits = 0;
  mBlockUsed = 0;
  mComputed = false;
  mCorrupted = false;
}

bool SHA1::Result(uint32_t* digest) {
  if (mCorrupted) return false;
  if (!mComputed) Finish();
  std::memcpy(digest, mHash, sizeof mHash);
  return true;
}

void SHA1::Input(const unsigned char* bytes, size_t length) {
  if (length == 0) return;
  if (mComputed || mCorrupted || length > (UINT64_MAX - mLengthBits) / 8) {
    mCorrupted = true;
    return;
  }
  mLengthBits += uint64_t(length) * 8;
  if (mBlockUsed > 0) {
    const size_t taken = length < kBlockBytes - mBlockUsed ? length : kBlockBytes - mBlockUsed;
    std::memcpy(mBlock + mBlockUsed, bytes, taken);
    mBlockUsed += taken;
    bytes += taken;
    length -= taken;
    if (mBlockUsed < kBlockBytes) return;
    ProcessBlock(mBlock);
    mBlockUsed = 0;
  }
  for (; length >= kBlockBytes; bytes += kBlockBytes, length -= kBlockBytes) ProcessBlock(bytes);
  std::memcpy(mBlock, bytes, length);
  mBlockUsed = length;
}

void SHA1::Input(const char* bytes, size_t length) {
  Input(reinterpret_cast<const unsigned char*>(bytes), length);
}

void SHA1::Input(unsigned char byte) { Input(&byte, 1); }

void SHA1::Input(char character) { Input(reinterpret_cast<const unsigned char*>(&character), 1); }

SHA1& SHA1::operator<<(const char* text) {
  Input(text, std::strlen(text));
  return *this;
}

SHA1& SHA1::operator<<(const unsigned char* text) {
  return *this << reinterpret_cast<const char*>(text);
}

SHA1& SHA1::operator<<(char character) {
  Input(character);
  return *this;
}

SHA1& SHA1::operator<<(unsigned char byte) {
  Input(byte);
  return *this;
}

// Appends the 0x80 marker, zeros and the message length in bits.
void SHA1::Finish() {
  const uint64_t lengthBits = mLengthBits;
  mBlock[mBlockUsed++] = 0x80;
  if (mBlockUsed > kBlockBytes - 8) {
    std::memset(mBlock + mBlockUsed, 0, kBlockBytes - mBlockUsed);
    ProcessBlock(mBlock);
    mBlockUsed = 0;
  }
  std::memset(mBlock + mBlockUsed, 0, kBlockBytes - 8 - mBlockUsed);
  StoreBigEndian32(uint32_t(lengthBits >> 32), mBlock + kBlockBytes - 8);
  StoreBigEndian32(uint32_t(lengthBits), mBlock + kBlockBytes - 4);
  ProcessBlock(mBlock);
  mBlockUsed = 0;
  mComputed = true;
}

void SHA1::ProcessBlock(const unsigned char* block) {
  uint32_t w[16];
  for (int t = 0; t < 16; ++t) w[t] = LoadBigEndian32(block + 4 * t);
  uint32_t a = mHash[0], b = mHash[1], c = mHash[2], d = mHash[3], e = mHash[4];
  // The message schedule is kept as a ring of 16 words.
  auto schedule = [&w](int t) {
    if (t < 16) return w[t];
    return w[t & 15] =
               RotateLeft32(w[(t - 3) & 15] ^ w[(t - 8) & 15] ^ w[(t - 14) & 15] ^ w[t & 15], 1);
  };
  auto step = [&](uint32_t f, uint32_t k, uint32_t word) {
    const uint32_t temp = RotateLeft32(a, 5) + f + e + k + word;
    e = d;
    d = c;
    c = RotateLeft32(b, 30);
    b = a;
    a = temp;
  };
  for (int t = 0; t < 20; ++t) step(d ^ (b & (c ^ d)), 0x5A827999, schedule(t));
  for (int t = 20; t < 40; ++t) step(b ^ c ^ d, 0x6ED9EBA1, schedule(t));
  for (int t = 40; t < 60; ++t) step((b & c) | (d & (b | c)), 0x8F1BBCDC, schedule(t));
  for (int t = 60; t < 80; ++t) step(b ^ c ^ d, 0xCA62C1D6, schedule(t));
  mHash[0] += a;
  mHash[1] += b;
  mHash[2] += c;
  mHash[3] += d;
  mHash[4] += e;
}
