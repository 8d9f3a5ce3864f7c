#include "security/AES256CBC.h"

#include <array>
#include <cstring>

#include "security/ByteOrder.h"

namespace {

constexpr size_t kBlock = AES256CBC::DEFAULT_BLOCK_SIZE;

// Multiplication by x in GF(2^8) modulo x^8 + x^4 + x^3 + x + 1.
constexpr uint8_t Times2(uint8_t b) { return uint8_t((b << 1) ^ ((b & 0x80) ? 0x1b : 0)); }

constexpr uint8_t Multiply(uint8_t a, uint8_t b) {
  uint8_t product = 0;
  for (; b; b >>= 1, a = Times2(a))
    if (b & 1) product ^= a;
  return product;
}

constexpr uint32_t Word(uint8_t b0, uint8_t b1, uint8_t b2, uint8_t b3) {
  return (uint32_t(b0) << 24) | (uint32_t(b1) << 16) | (uint32_t(b2) << 8) | b3;
}

// The S-box and its inverse, and per byte position of a column the S-box (or its
// inverse) merged with MixColumns (or InvMixColumns).
struct Tables {
  uint8_t sbox[256];
  uint8_t inverseSbox[256];
  uint32_t encrypt[4][256];
  uint32_t decrypt[4][256];
};

constexpr Tables MakeTables() {
  Tables t{};
  uint8_t exp[256] = {};
  uint8_t log[256] = {};
  uint8_t power = 1;
  for (int i = 0; i < 255; ++i) {  // 3 generates the multiplicative group
    exp[i] = power;
    log[power] = uint8_t(i);
    power = Multiply(power, 3);
  }
  for (int x = 0; x < 256; ++x) {
    const uint8_t inverse = x ? exp[(255 - log[x]) % 255] : 0;
    uint8_t s = 0x63;
    for (int shift = 0; shift < 5; ++shift)
      s ^= uint8_t((inverse << shift) | (inverse >> ((8 - shift) & 7)));
    t.sbox[x] = s;
    t.inverseSbox[s] = uint8_t(x);
  }
  for (int x = 0; x < 256; ++x) {
    const uint8_t s = t.sbox[x];
    const uint8_t i = t.inverseSbox[x];
    t.encrypt[0][x] = Word(Multiply(s, 2), s, s, Multiply(s, 3));
    t.decrypt[0][x] = Word(Multiply(i, 14), Multiply(i, 9), Multiply(i, 13), Multiply(i, 11));
    for (int position = 1; position < 4; ++position) {
      t.encrypt[position][x] = RotateRight32(t.encrypt[0][x], 8 * position);
      t.decrypt[position][x] = RotateRight32(t.decrypt[0][x], 8 * position);
    }
  }
  return t;
}

constexpr Tables kT = MakeTables();

inline uint8_t Byte(uint32_t word, int index) { return uint8_t(word >> (24 - 8 * index)); }

inline uint32_t SubWord(uint32_t w) {
  return Word(kT.sbox[Byte(w, 0)], kT.sbox[Byte(w, 1)], kT.sbox[Byte(w, 2)], kT.sbox[Byte(w, 3)]);
}

inline uint32_t InvMixColumn(uint32_t w) {
  return kT.decrypt[0][kT.sbox[Byte(w, 0)]] ^ kT.decrypt[1][kT.sbox[Byte(w, 1)]] ^
         kT.decrypt[2][kT.sbox[Byte(w, 2)]] ^ kT.decrypt[3][kT.sbox[Byte(w, 3)]];
}

// One column of a middle round: column c takes row r from column c + step * r.
inline uint32_t RoundColumn(const uint32_t (&table)[4][256], const uint32_t* s, int c, int step) {
  return table[0][Byte(s[c], 0)] ^ table[1][Byte(s[(c + step) & 3], 1)] ^
         table[2][Byte(s[(c + 2 * step) & 3], 2)] ^ table[3][Byte(s[(c + 3 * step) & 3], 3)];
}

inline uint32_t FinalColumn(const uint8_t (&box)[256], const uint32_t* s, int c, int step) {
  return Word(box[Byte(s[c], 0)], box[Byte(s[(c + step) & 3], 1)],
              box[Byte(s[(c + 2 * step) & 3], 2)], box[Byte(s[(c + 3 * step) & 3], 3)]);
}

// The rounds shared by both directions: step 1 is ShiftRows, step 3 (that is, -1)
// InvShiftRows.
void Cipher(const uint32_t* schedule, const uint32_t (&table)[4][256], const uint8_t (&box)[256],
            int step, const unsigned char* in, unsigned char* out) {
  uint32_t s[4];
  uint32_t t[4];
  for (int c = 0; c < 4; ++c) s[c] = LoadBigEndian32(in + 4 * c) ^ schedule[c];
  for (int round = 1; round < AES256CBC::ROUNDS; ++round) {
    for (int c = 0; c < 4; ++c) t[c] = RoundColumn(table, s, c, step) ^ schedule[4 * round + c];
    std::memcpy(s, t, sizeof s);
  }
  for (int c = 0; c < 4; ++c)
    StoreBigEndian32(FinalColumn(box, s, c, step) ^ schedule[4 * AES256CBC::ROUNDS + c],
                     out + 4 * c);
}

inline void XorBlock(unsigned char* into, const unsigned char* with) {
  for (size_t i = 0; i < kBlock; ++i) into[i] ^= with[i];
}

// The padded length of a zero-terminated text of `length` characters.
size_t PaddedLength(size_t length) { return (length + 1 + kBlock) / kBlock * kBlock; }

}  // namespace

AES256CBC::AES256CBC() : mKeyMade(false), mEncryptSchedule(), mDecryptSchedule(), mChain() {}

bool AES256CBC::MakeKey(const unsigned char* key, const unsigned char* chain, int keyLength,
                        int blockSize) {
  mKeyMade = false;
  if (!key || !chain || keyLength != KEY_LENGTH || blockSize != DEFAULT_BLOCK_SIZE) return false;
  constexpr int keyWords = KEY_LENGTH / 4;
  uint8_t roundConstant = 1;
  for (int i = 0; i < kScheduleWords; ++i) {
    if (i < keyWords) {
      mEncryptSchedule[i] = LoadBigEndian32(key + 4 * i);
      continue;
    }
    uint32_t temp = mEncryptSchedule[i - 1];
    if (i % keyWords == 0) {
      temp = SubWord(RotateLeft32(temp, 8)) ^ (uint32_t(roundConstant) << 24);
      roundConstant = Times2(roundConstant);
    } else if (i % keyWords == 4) {
      temp = SubWord(temp);
    }
    mEncryptSchedule[i] = mEncryptSchedule[i - keyWords] ^ temp;
  }
  // The equivalent inverse cipher: round keys in reverse order, the middle ones
  // through InvMixColumns.
  for (int round = 0; round <= ROUNDS; ++round) {
    for (int c = 0; c < 4; ++c) {
      const uint32_t w = mEncryptSchedule[4 * (ROUNDS - round) + c];
      mDecryptSchedule[4 * round + c] = (round == 0 || round == ROUNDS) ? w : InvMixColumn(w);
    }
  }
  std::memcpy(mChain, chain, kBlock);
  mKeyMade = true;
  return true;
}

void AES256CBC::DefEncryptBlock(const unsigned char* in, unsigned char* out) const {
  if (mKeyMade) Cipher(mEncryptSchedule, kT.encrypt, kT.sbox, 1, in, out);
}

void AES256CBC::DefDecryptBlock(const unsigned char* in, unsigned char* out) const {
  if (mKeyMade) Cipher(mDecryptSchedule, kT.decrypt, kT.inverseSbox, 3, in, out);
}

// A key is only ever made for the default block size.
void AES256CBC::EncryptBlock(const unsigned char* in, unsigned char* out) const {
  DefEncryptBlock(in, out);
}

void AES256CBC::DecryptBlock(const unsigned char* in, unsigned char* out) const {
  DefDecryptBlock(in, out);
}

bool AES256CBC::AcceptsLength(size_t length) const {
  return mKeyMade && length != 0 && length % kBlock == 0;
}

void AES256CBC::Encrypt(const unsigned char* in, unsigned char* out, size_t length) {
  if (!AcceptsLength(length)) return;
  for (size_t offset = 0; offset < length; offset += kBlock) {
    XorBlock(mChain, in + offset);
    DefEncryptBlock(mChain, mChain);
    std::memcpy(out + offset, mChain, kBlock);
  }
}

void AES256CBC::Decrypt(const unsigned char* in, unsigned char* out, size_t length) {
  if (!AcceptsLength(length)) return;
  unsigned char cipherBlock[kBlock];
  for (size_t offset = 0; offset < length; offset += kBlock) {
    std::memcpy(cipherBlock, in + offset, kBlock);  // in may be out
    DefDecryptBlock(cipherBlock, out + offset);
    XorBlock(out + offset, mChain);
    std::memcpy(mChain, cipherBlock, kBlock);
  }
}

bool DoAES256Encrypt(const unsigned char* key, const unsigned char* iv, const char* plainText,
                     unsigned char* out, int* outLength) {
  if (!key || !iv || !plainText || !out || !outLength || *outLength < 0) return false;
  const size_t room = size_t(*outLength);
  std::memset(out, 0, room);
  const size_t textLength = std::strlen(plainText);
  const size_t padded = PaddedLength(textLength);
  if (padded > room) {
    *outLength = 0;
    return false;
  }
  // The terminator and the pad bytes: n bytes of value n-1 after the terminator.
  const unsigned char padValue = static_cast<unsigned char>(padded - textLength - 2);
  std::memcpy(out, plainText, textLength);
  std::memset(out + textLength + 1, padValue, padded - textLength - 1);
  AES256CBC aes;
  aes.MakeKey(key, iv);
  aes.Encrypt(out, out, padded);
  *outLength = static_cast<int>(padded);
  return true;
}

bool DoAES256Decrypt(const unsigned char* key, const unsigned char* iv, const unsigned char* in,
                     int length, unsigned char* out, int* outLength) {
  if (!key || !iv || !in || !out || !outLength || *outLength < 0) return false;
  const size_t room = size_t(*outLength);
  if (length <= 0 || length % int(kBlock) != 0 || size_t(length) > room) {
    std::memset(out, 0, room);
    *outLength = 0;
    return false;
  }
  AES256CBC aes;
  aes.MakeKey(key, iv);
  aes.Decrypt(in, out, size_t(length));
  std::memset(out + length, 0, room - size_t(length));  // cleared after, so in may be out
  *outLength = length;
  return true;
}
