#include "security/SHA1.h"

#include <cstring>

#include "security/ByteOrder.h"

namespace {

constexpr uint32_t kInitialHash[5] = {0x67452301, 0xEFCDAB89, 0x98BADCFE, 0x10325476, 0xC3D2E1F0};

}  // namespace

SHA1::SHA1() { Reset(); }

SHA1::~SHA1() = default;

void SHA1::Reset() {
  std::memcpy(fHash, kInitialHash, sizeof fHash);
  fLengthBits = 0;
  fBlockUsed = 0;
  fComputed = false;
  fCorrupted = false;
}

bool SHA1::Result(uint32_t* digest) {
  if (fCorrupted) return false;
  if (!fComputed) Finish();
  std::memcpy(digest, fHash, sizeof fHash);
  return true;
}

void SHA1::Input(const unsigned char* bytes, size_t length) {
  if (length == 0) return;
  if (fComputed || fCorrupted || length > (UINT64_MAX - fLengthBits) / 8) {
    fCorrupted = true;
    return;
  }
  fLengthBits += uint64_t(length) * 8;
  if (fBlockUsed > 0) {
    const size_t taken = length < kBlockBytes - fBlockUsed ? length : kBlockBytes - fBlockUsed;
    std::memcpy(fBlock + fBlockUsed, bytes, taken);
    fBlockUsed += taken;
    bytes += taken;
    length -= taken;
    if (fBlockUsed < kBlockBytes) return;
    ProcessBlock(fBlock);
    fBlockUsed = 0;
  }
  for (; length >= kBlockBytes; bytes += kBlockBytes, length -= kBlockBytes) ProcessBlock(bytes);
  std::memcpy(fBlock, bytes, length);
  fBlockUsed = length;
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
  const uint64_t lengthBits = fLengthBits;
  fBlock[fBlockUsed++] = 0x80;
  if (fBlockUsed > kBlockBytes - 8) {
    std::memset(fBlock + fBlockUsed, 0, kBlockBytes - fBlockUsed);
    ProcessBlock(fBlock);
    fBlockUsed = 0;
  }
  std::memset(fBlock + fBlockUsed, 0, kBlockBytes - 8 - fBlockUsed);
  StoreBigEndian32(uint32_t(lengthBits >> 32), fBlock + kBlockBytes - 8);
  StoreBigEndian32(uint32_t(lengthBits), fBlock + kBlockBytes - 4);
  ProcessBlock(fBlock);
  fBlockUsed = 0;
  fComputed = true;
}

void SHA1::ProcessBlock(const unsigned char* block) {
  uint32_t w[16];
  for (int t = 0; t < 16; ++t) w[t] = LoadBigEndian32(block + 4 * t);
  uint32_t a = fHash[0], b = fHash[1], c = fHash[2], d = fHash[3], e = fHash[4];
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
  fHash[0] += a;
  fHash[1] += b;
  fHash[2] += c;
  fHash[3] += d;
  fHash[4] += e;
}
