#pragma once
// Word loads, stores and rotations shared by the ciphers and the digest; they fix
// the byte order explicitly so that results do not depend on the machine.

#include <cstdint>

inline uint32_t LoadBigEndian32(const unsigned char* p) {
  return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | uint32_t(p[3]);
}

inline void StoreBigEndian32(uint32_t value, unsigned char* p) {
  p[0] = static_cast<unsigned char>(value >> 24);
  p[1] = static_cast<unsigned char>(value >> 16);
  p[2] = static_cast<unsigned char>(value >> 8);
  p[3] = static_cast<unsigned char>(value);
}

inline uint32_t LoadLittleEndian32(const unsigned char* p) {
  return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

inline void StoreLittleEndian32(uint32_t value, unsigned char* p) {
  p[0] = static_cast<unsigned char>(value);
  p[1] = static_cast<unsigned char>(value >> 8);
  p[2] = static_cast<unsigned char>(value >> 16);
  p[3] = static_cast<unsigned char>(value >> 24);
}

inline constexpr uint32_t RotateLeft32(uint32_t value, unsigned count) {
  return (value << (count & 31)) | (value >> ((32 - count) & 31));
}

inline constexpr uint32_t RotateRight32(uint32_t value, unsigned count) {
  return (value >> (count & 31)) | (value << ((32 - count) & 31));
}
