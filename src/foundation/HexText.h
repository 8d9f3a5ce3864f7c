#pragma once
// Bytes written as hexadecimal text: two upper-case digits per byte, the high
// nibble first.

#include <cstddef>
#include <string>

std::string UpperHex(const unsigned char* bytes, size_t length);
