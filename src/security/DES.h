#pragma once
// Single DES on 8-byte blocks (ECB). The module holds one key schedule at a time:
// deskey or usekey loads it, des transforms blocks with it.

#include <cstdint>

enum { EN0 = 0, DE1 = 1 };  // directions of deskey: encrypt, decrypt

// Two words per round: the 6-bit subkey groups of the odd and of the even S-boxes.
constexpr int kDESScheduleWords = 32;

// Builds the schedule of the 8-byte key for the direction and loads it.
void deskey(const unsigned char key[8], short direction);
// Loads a schedule copied out earlier with cpkey.
void usekey(const uint32_t schedule[kDESScheduleWords]);
// Copies the loaded schedule out.
void cpkey(uint32_t schedule[kDESScheduleWords]);
// One block through the loaded schedule; in and out may be the same buffer.
void des(const unsigned char in[8], unsigned char out[8]);
