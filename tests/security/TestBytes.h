#pragma once
// Helpers shared by the cipher and digest tests.

#include <random>
#include <string>
#include <vector>

using Bytes = std::vector<unsigned char>;

inline Bytes FromHex(const std::string& hex) {
  Bytes bytes;
  for (size_t i = 0; i + 1 < hex.size(); i += 2)
    bytes.push_back(static_cast<unsigned char>(std::stoi(hex.substr(i, 2), nullptr, 16)));
  return bytes;
}

inline std::string ToHex(const unsigned char* bytes, size_t length) {
  static const char digits[] = "0123456789abcdef";
  std::string hex;
  for (size_t i = 0; i < length; ++i) {
    hex += digits[bytes[i] >> 4];
    hex += digits[bytes[i] & 15];
  }
  return hex;
}

inline std::string ToHex(const Bytes& bytes) { return ToHex(bytes.data(), bytes.size()); }

inline Bytes RandomBytes(std::mt19937& random, size_t length) {
  Bytes bytes(length);
  for (auto& b : bytes) b = static_cast<unsigned char>(random());
  return bytes;
}
