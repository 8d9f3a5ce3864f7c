#include "security/DES.h"

#include <array>
#include <cstring>

#include "security/ByteOrder.h"

namespace {

// The standard tables; bit positions count from 1 at the most significant bit.
constexpr unsigned char kPC1[56] = {57, 49, 41, 33, 25, 17, 9,  1,  58, 50, 42, 34, 26, 18,
                                    10, 2,  59, 51, 43, 35, 27, 19, 11, 3,  60, 52, 44, 36,
                                    63, 55, 47, 39, 31, 23, 15, 7,  62, 54, 46, 38, 30, 22,
                                    14, 6,  61, 53, 45, 37, 29, 21, 13, 5,  28, 20, 12, 4};

constexpr unsigned char kPC2[48] = {14, 17, 11, 24, 1,  5,  3,  28, 15, 6,  21, 10, 23, 19, 12, 4,
                                    26, 8,  16, 7,  27, 20, 13, 2,  41, 52, 31, 37, 47, 55, 30, 40,
                                    51, 45, 33, 48, 44, 49, 39, 56, 34, 53, 46, 42, 50, 36, 29, 32};

constexpr unsigned char kShifts[16] = {1, 1, 2, 2, 2, 2, 2, 2, 1, 2, 2, 2, 2, 2, 2, 1};

constexpr unsigned char kP[32] = {16, 7, 20, 21, 29, 12, 28, 17, 1,  15, 23, 26, 5,  18, 31, 10,
                                  2,  8, 24, 14, 32, 27, 3,  9,  19, 13, 30, 6,  22, 11, 4,  25};

constexpr unsigned char kS[8][64] = {
    {14, 4,  13, 1, 2,  15, 11, 8, 3, 10, 6, 12, 5,  9,  0,  7,  0,  15, 7,  4,  14, 2,
     13, 1,  10, 6, 12, 11, 9,  5, 3, 8,  4, 1,  14, 8,  13, 6,  2,  11, 15, 12, 9,  7,
     3,  10, 5,  0, 15, 12, 8,  2, 4, 9,  1, 7,  5,  11, 3,  14, 10, 0,  6,  13},
    {15, 1,  8,  14, 6,  11, 3,  4, 9,  7,  2, 13, 12, 0,  5,  10, 3,  13, 4,  7, 15, 2,
     8,  14, 12, 0,  1,  10, 6,  9, 11, 5,  0, 14, 7,  11, 10, 4,  13, 1,  5,  8, 12, 6,
     9,  3,  2,  15, 13, 8,  10, 1, 3,  15, 4, 2,  11, 6,  7,  12, 0,  5,  14, 9},
    {10, 0,  9,  14, 6, 3,  15, 5,  1,  13, 12, 7, 11, 4,  2,  8,  13, 7, 0,  9, 3, 4,
     6,  10, 2,  8,  5, 14, 12, 11, 15, 1,  13, 6, 4,  9,  8,  15, 3,  0, 11, 1, 2, 12,
     5,  10, 14, 7,  1, 10, 13, 0,  6,  9,  8,  7, 4,  15, 14, 3,  11, 5, 2,  12},
    {7, 13, 14, 3, 0, 6,  9, 10, 1,  2, 8,  5, 11, 12, 4,  15, 13, 8,  11, 5, 6, 15,
     0, 3,  4,  7, 2, 12, 1, 10, 14, 9, 10, 6, 9,  0,  12, 11, 7,  13, 15, 1, 3, 14,
     5, 2,  8,  4, 3, 15, 0, 6,  10, 1, 13, 8, 9,  4,  5,  11, 12, 7,  2,  14},
    {2,  12, 4, 1,  7,  10, 11, 6, 8, 5,  3, 15, 13, 0,  14, 9,  14, 11, 2,  12, 4,  7,
     13, 1,  5, 0,  15, 10, 3,  9, 8, 6,  4, 2,  1,  11, 10, 13, 7,  8,  15, 9,  12, 5,
     6,  3,  0, 14, 11, 8,  12, 7, 1, 14, 2, 13, 6,  15, 0,  9,  10, 4,  5,  3},
    {12, 1,  10, 15, 9,  2,  6, 8,  0, 13, 3,  4,  14, 7,  5, 11, 10, 15, 4, 2, 7, 12,
     9,  5,  6,  1,  13, 14, 0, 11, 3, 8,  9,  14, 15, 5,  2, 8,  12, 3,  7, 0, 4, 10,
     1,  13, 11, 6,  4,  3,  2, 12, 9, 5,  15, 10, 11, 14, 1, 7,  6,  0,  8, 13},
    {4, 11, 2,  14, 15, 0,  8,  13, 3, 12, 9,  7, 5,  10, 6,  1,  13, 0,  11, 7,  4, 9,
     1, 10, 14, 3,  5,  12, 2,  15, 8, 6,  1,  4, 11, 13, 12, 3,  7,  14, 10, 15, 6, 8,
     0, 5,  9,  2,  6,  11, 13, 8,  1, 4,  10, 7, 9,  5,  0,  15, 14, 2,  3,  12},
    {13, 2, 8,  4, 6, 15, 11, 1,  10, 9,  3, 14, 5,  0,  12, 7,  1,  15, 13, 8, 10, 3,
     7,  4, 12, 5, 6, 11, 0,  14, 9,  2,  7, 11, 4,  1,  9,  12, 14, 2,  0,  6, 10, 13,
     15, 3, 5,  8, 2, 1,  14, 7,  4,  10, 8, 13, 15, 12, 9,  0,  3,  5,  6,  11}};

// Moves the bits of `in` (inBits wide) to the positions the table gives.
constexpr uint64_t Permute(uint64_t in, int inBits, const unsigned char* table, int outBits) {
  uint64_t out = 0;
  for (int i = 0; i < outBits; ++i) out = (out << 1) | ((in >> (inBits - table[i])) & 1);
  return out;
}

// Each S-box merged with the permutation P, indexed by the box's 6 input bits.
using SPTables = std::array<std::array<uint32_t, 64>, 8>;

constexpr SPTables MakeSPTables() {
  SPTables tables{};
  for (int box = 0; box < 8; ++box) {
    for (int input = 0; input < 64; ++input) {
      const int row = ((input >> 4) & 2) | (input & 1);
      const int column = (input >> 1) & 15;
      const uint64_t beforeP = uint64_t(kS[box][row * 16 + column]) << (28 - 4 * box);
      tables[box][input] = static_cast<uint32_t>(Permute(beforeP, 32, kP, 32));
    }
  }
  return tables;
}

constexpr SPTables kSP = MakeSPTables();

uint32_t gLoadedSchedule[kDESScheduleWords];

// Exchanges the bits of b selected by mask with those of a selected by mask << shift.
inline void SwapMove(uint32_t& a, uint32_t& b, unsigned shift, uint32_t mask) {
  const uint32_t t = ((a >> shift) ^ b) & mask;
  b ^= t;
  a ^= t << shift;
}

inline void InitialPermutation(uint32_t& left, uint32_t& right) {
  SwapMove(left, right, 4, 0x0f0f0f0f);
  SwapMove(left, right, 16, 0x0000ffff);
  SwapMove(right, left, 2, 0x33333333);
  SwapMove(right, left, 8, 0x00ff00ff);
  SwapMove(left, right, 1, 0x55555555);
}

inline void FinalPermutation(uint32_t& left, uint32_t& right) {
  SwapMove(left, right, 1, 0x55555555);
  SwapMove(right, left, 8, 0x00ff00ff);
  SwapMove(right, left, 2, 0x33333333);
  SwapMove(left, right, 16, 0x0000ffff);
  SwapMove(left, right, 4, 0x0f0f0f0f);
}

// The round function. Rotating the half by 3 and by 1 lines up the expansion's
// 6-bit groups for S1, S3, S5, S7 and for S2, S4, S6, S8 on byte boundaries.
inline uint32_t Feistel(uint32_t half, const uint32_t* roundKey) {
  const uint32_t odd = RotateRight32(half, 3) ^ roundKey[0];
  const uint32_t even = RotateLeft32(half, 1) ^ roundKey[1];
  return kSP[0][(odd >> 24) & 63] | kSP[2][(odd >> 16) & 63] | kSP[4][(odd >> 8) & 63] |
         kSP[6][odd & 63] | kSP[1][(even >> 24) & 63] | kSP[3][(even >> 16) & 63] |
         kSP[5][(even >> 8) & 63] | kSP[7][even & 63];
}

// Splits a 48-bit subkey into the two words that Feistel expects.
void PackRoundKey(uint64_t subkey, uint32_t* roundKey) {
  roundKey[0] = roundKey[1] = 0;
  for (int group = 0; group < 8; ++group) {
    const uint32_t bits = static_cast<uint32_t>(subkey >> (42 - 6 * group)) & 63;
    roundKey[group & 1] |= bits << (24 - 8 * (group / 2));
  }
}

}  // namespace

void deskey(const unsigned char key[8], short direction) {
  const uint64_t keyBits = (uint64_t(LoadBigEndian32(key)) << 32) | LoadBigEndian32(key + 4);
  const uint64_t selected = Permute(keyBits, 64, kPC1, 56);
  uint32_t c = static_cast<uint32_t>(selected >> 28);
  uint32_t d = static_cast<uint32_t>(selected) & 0x0fffffff;
  for (int round = 0; round < 16; ++round) {
    const unsigned shift = kShifts[round];
    c = ((c << shift) | (c >> (28 - shift))) & 0x0fffffff;
    d = ((d << shift) | (d >> (28 - shift))) & 0x0fffffff;
    const uint64_t subkey = Permute((uint64_t(c) << 28) | d, 56, kPC2, 48);
    const int slot = direction == DE1 ? 15 - round : round;
    PackRoundKey(subkey, gLoadedSchedule + 2 * slot);
  }
}

void usekey(const uint32_t schedule[kDESScheduleWords]) {
  std::memcpy(gLoadedSchedule, schedule, sizeof gLoadedSchedule);
}

void cpkey(uint32_t schedule[kDESScheduleWords]) {
  std::memcpy(schedule, gLoadedSchedule, sizeof gLoadedSchedule);
}

void des(const unsigned char in[8], unsigned char out[8]) {
  uint32_t left = LoadBigEndian32(in);
  uint32_t right = LoadBigEndian32(in + 4);
  InitialPermutation(left, right);
  for (int round = 0; round < 16; round += 2) {
    left ^= Feistel(right, gLoadedSchedule + 2 * round);
    right ^= Feistel(left, gLoadedSchedule + 2 * round + 2);
  }
  FinalPermutation(right, left);
  StoreBigEndian32(right, out);
  StoreBigEndian32(left, out + 4);
}
