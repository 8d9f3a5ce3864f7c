#include "security/Twofish.h"

#include <climits>

#include "security/ByteOrder.h"

namespace {

constexpr DWORD kValidKey = 0x4b657953;     // marks a key instance with a schedule
constexpr DWORD kValidCipher = 0x43697068;  // marks an initialised cipher instance

// The 4-bit permutations from which q0 and q1 are built.
constexpr uint8_t kQNibbles[2][4][16] = {
    {{0x8, 0x1, 0x7, 0xD, 0x6, 0xF, 0x3, 0x2, 0x0, 0xB, 0x5, 0x9, 0xE, 0xC, 0xA, 0x4},
     {0xE, 0xC, 0xB, 0x8, 0x1, 0x2, 0x3, 0x5, 0xF, 0x4, 0xA, 0x6, 0x7, 0x0, 0x9, 0xD},
     {0xB, 0xA, 0x5, 0xE, 0x6, 0xD, 0x9, 0x0, 0xC, 0x8, 0xF, 0x3, 0x2, 0x4, 0x7, 0x1},
     {0xD, 0x7, 0xF, 0x4, 0x1, 0x2, 0x6, 0xE, 0x9, 0xB, 0x3, 0x0, 0x8, 0x5, 0xC, 0xA}},
    {{0x2, 0x8, 0xB, 0xD, 0xF, 0x7, 0x6, 0xE, 0x3, 0x1, 0x9, 0x4, 0x0, 0xA, 0xC, 0x5},
     {0x1, 0xE, 0x2, 0xB, 0x4, 0xC, 0x3, 0x7, 0x6, 0xD, 0xA, 0x5, 0xF, 0x9, 0x0, 0x8},
     {0x4, 0xC, 0x7, 0x5, 0x1, 0x6, 0x9, 0xA, 0x0, 0xE, 0xD, 0x8, 0x2, 0xB, 0x3, 0xF},
     {0xB, 0x9, 0x5, 0x1, 0xC, 0x3, 0xD, 0xE, 0x6, 0x4, 0x7, 0xF, 0x2, 0x0, 0x8, 0xA}}};

constexpr uint8_t kMDS[4][4] = {{0x01, 0xEF, 0x5B, 0x5B},
                                {0x5B, 0xEF, 0xEF, 0x01},
                                {0xEF, 0x5B, 0x01, 0xEF},
                                {0xEF, 0x01, 0xEF, 0x5B}};

constexpr uint8_t kRS[4][8] = {{0x01, 0xA4, 0x55, 0x87, 0x5A, 0x58, 0xDB, 0x9E},
                               {0xA4, 0x56, 0x82, 0xF3, 0x1E, 0xC6, 0x68, 0xE5},
                               {0x02, 0xA1, 0xFC, 0xC1, 0x47, 0xAE, 0x3D, 0x19},
                               {0xA4, 0x55, 0x87, 0x5A, 0x58, 0xDB, 0x9E, 0x03}};

constexpr uint16_t kMDSPolynomial = 0x169;  // x^8 + x^6 + x^5 + x^3 + 1
constexpr uint16_t kRSPolynomial = 0x14D;   // x^8 + x^6 + x^3 + x^2 + 1

constexpr uint8_t Multiply(uint8_t a, uint8_t b, uint16_t polynomial) {
  uint16_t x = a;
  uint8_t product = 0;
  for (; b; b >>= 1) {
    if (b & 1) product ^= uint8_t(x);
    x <<= 1;
    if (x & 0x100) x ^= polynomial;
  }
  return product;
}

constexpr uint8_t RotateNibbleRight(uint8_t n) { return uint8_t(((n >> 1) | (n << 3)) & 15); }

constexpr uint8_t Q(int which, uint8_t x) {
  uint8_t a = x >> 4;
  uint8_t b = x & 15;
  for (int stage = 0; stage < 2; ++stage) {
    const uint8_t mixedA = a ^ b;
    const uint8_t mixedB = uint8_t(a ^ RotateNibbleRight(b) ^ ((8 * a) & 15));
    a = kQNibbles[which][2 * stage][mixedA];
    b = kQNibbles[which][2 * stage + 1][mixedB];
  }
  return uint8_t((b << 4) | a);
}

struct Tables {
  uint8_t q[2][256];
  DWORD mds[4][256];  // byte position j of h's output column times the MDS matrix
};

constexpr Tables MakeTables() {
  Tables t{};
  for (int x = 0; x < 256; ++x) {
    t.q[0][x] = Q(0, uint8_t(x));
    t.q[1][x] = Q(1, uint8_t(x));
    for (int column = 0; column < 4; ++column) {
      DWORD word = 0;
      for (int row = 0; row < 4; ++row)
        word |= DWORD(Multiply(kMDS[row][column], uint8_t(x), kMDSPolynomial)) << (8 * row);
      t.mds[column][x] = word;
    }
  }
  return t;
}

constexpr Tables kT = MakeTables();

// Which q each byte of h passes through, from the stage of the fourth key word down
// to the final one; keys of two or three words start further in.
constexpr uint8_t kQOrder[4][5] = {
    {1, 1, 0, 0, 1}, {0, 1, 1, 0, 0}, {0, 0, 0, 1, 1}, {1, 0, 1, 1, 0}};

inline uint8_t ByteOf(DWORD word, int index) { return uint8_t(word >> (8 * index)); }

uint8_t QChain(int position, uint8_t y, const DWORD* keyWords, int keyWordCount) {
  for (int stage = 4 - keyWordCount; stage < 4; ++stage)
    y = kT.q[kQOrder[position][stage]][y] ^ ByteOf(keyWords[3 - stage], position);
  return kT.q[kQOrder[position][4]][y];
}

DWORD H(DWORD x, const DWORD* keyWords, int keyWordCount) {
  DWORD result = 0;
  for (int position = 0; position < 4; ++position)
    result ^= kT.mds[position][QChain(position, ByteOf(x, position), keyWords, keyWordCount)];
  return result;
}

// The Reed-Solomon code of eight key bytes: one word of the S-box key.
DWORD ReedSolomon(const uint8_t* keyBytes) {
  DWORD word = 0;
  for (int row = 0; row < 4; ++row) {
    uint8_t value = 0;
    for (int i = 0; i < 8; ++i) value ^= Multiply(kRS[row][i], keyBytes[i], kRSPolynomial);
    word |= DWORD(value) << (8 * row);
  }
  return word;
}

inline DWORD G(const keyInstance* key, DWORD x) {
  return key->sBox8x32[0][ByteOf(x, 0)] ^ key->sBox8x32[1][ByteOf(x, 1)] ^
         key->sBox8x32[2][ByteOf(x, 2)] ^ key->sBox8x32[3][ByteOf(x, 3)];
}

bool IsKeyLength(int bits) { return bits == 128 || bits == 192 || bits == 256; }

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Reads the key from keyLen / 4 hexadecimal digits, stopping at the text's end.
bool ReadKeyMaterial(keyInstance* key, const char* text) {
  const int digits = key->keyLen / 4;
  for (int i = 0; i < digits; ++i) {
    const int value = HexDigit(text[i]);  // a terminator is not a digit: no over-read
    if (value < 0) return false;
    key->keyMaterial[i] = text[i];
    key->key32[i / 8] |= DWORD(value) << (4 * ((i % 8) ^ 1));
  }
  key->keyMaterial[digits] = '\0';
  return true;
}

int CheckInstances(const cipherInstance* cipher, const keyInstance* key, int inputLen,
                   const BYTE* input, const BYTE* output) {
  if (!cipher || !key) return BAD_PARAMS;
  if (cipher->cipherSig != kValidCipher) return BAD_CIPHER_STATE;
  if (key->keySig != kValidKey) return BAD_KEY_INSTANCE;
  if (inputLen < 0 || inputLen % BLOCK_SIZE != 0) return BAD_INPUT_LEN;
  if (inputLen > 0 && (!input || !output)) return BAD_PARAMS;
  return TRUE;
}

void EncryptOne(const keyInstance* key, const BYTE* in, BYTE* out) {
  const DWORD* k = key->subKeys;
  DWORD x[4];
  for (int i = 0; i < 4; ++i) x[i] = LoadLittleEndian32(in + 4 * i) ^ k[i];
  for (int round = 0; round < 16; round += 2) {
    DWORD t0 = G(key, x[0]);
    DWORD t1 = G(key, RotateLeft32(x[1], 8));
    x[2] = RotateRight32(x[2] ^ (t0 + t1 + k[2 * round + 8]), 1);
    x[3] = RotateLeft32(x[3], 1) ^ (t0 + 2 * t1 + k[2 * round + 9]);
    t0 = G(key, x[2]);
    t1 = G(key, RotateLeft32(x[3], 8));
    x[0] = RotateRight32(x[0] ^ (t0 + t1 + k[2 * round + 10]), 1);
    x[1] = RotateLeft32(x[1], 1) ^ (t0 + 2 * t1 + k[2 * round + 11]);
  }
  for (int i = 0; i < 4; ++i) StoreLittleEndian32(x[(i + 2) & 3] ^ k[i + 4], out + 4 * i);
}

void DecryptOne(const keyInstance* key, const BYTE* in, BYTE* out) {
  const DWORD* k = key->subKeys;
  DWORD x[4];
  for (int i = 0; i < 4; ++i) x[(i + 2) & 3] = LoadLittleEndian32(in + 4 * i) ^ k[i + 4];
  for (int round = 14; round >= 0; round -= 2) {
    DWORD t0 = G(key, x[2]);
    DWORD t1 = G(key, RotateLeft32(x[3], 8));
    x[0] = RotateLeft32(x[0], 1) ^ (t0 + t1 + k[2 * round + 10]);
    x[1] = RotateRight32(x[1] ^ (t0 + 2 * t1 + k[2 * round + 11]), 1);
    t0 = G(key, x[0]);
    t1 = G(key, RotateLeft32(x[1], 8));
    x[2] = RotateLeft32(x[2], 1) ^ (t0 + t1 + k[2 * round + 8]);
    x[3] = RotateRight32(x[3] ^ (t0 + 2 * t1 + k[2 * round + 9]), 1);
  }
  for (int i = 0; i < 4; ++i) StoreLittleEndian32(x[i] ^ k[i], out + 4 * i);
}

int Blocks(cipherInstance* cipher, keyInstance* key, const BYTE* input, int inputLen,
           BYTE* outBuffer, void (*transform)(const keyInstance*, const BYTE*, BYTE*)) {
  const int check = CheckInstances(cipher, key, inputLen, input, outBuffer);
  if (check != TRUE) return check;
  for (int offset = 0; offset < inputLen / 8; offset += BLOCK_SIZE / 8)
    transform(key, input + offset, outBuffer + offset);
  return inputLen;
}

}  // namespace

int makeKey(keyInstance* key, BYTE direction, int keyLen, const char* keyMaterial) {
  if (!key) return BAD_PARAMS;
  if (direction != DIR_ENCRYPT && direction != DIR_DECRYPT) return BAD_KEY_DIR;
  if (!IsKeyLength(keyLen)) return BAD_KEY_MAT;
  key->direction = direction;
  key->keyLen = keyLen;
  key->keySig = 0;
  key->keyMaterial[0] = '\0';
  for (DWORD& word : key->key32) word = 0;
  if (!keyMaterial) return TRUE;
  if (!ReadKeyMaterial(key, keyMaterial)) return BAD_KEY_MAT;
  return reKey(key);
}

int reKey(keyInstance* key) {
  if (!key) return BAD_PARAMS;
  if (!IsKeyLength(key->keyLen)) return BAD_KEY_MAT;
  const int keyWordCount = key->keyLen / 64;
  DWORD evenWords[4];
  DWORD oddWords[4];
  for (int i = 0; i < keyWordCount; ++i) {
    evenWords[i] = key->key32[2 * i];
    oddWords[i] = key->key32[2 * i + 1];
    uint8_t bytes[8];
    StoreLittleEndian32(evenWords[i], bytes);
    StoreLittleEndian32(oddWords[i], bytes + 4);
    key->sboxKeys[keyWordCount - 1 - i] = ReedSolomon(bytes);
  }
  constexpr DWORD kStep = 0x01010101;
  for (int i = 0; i < TOTAL_SUBKEYS / 2; ++i) {
    const DWORD a = H(2 * i * kStep, evenWords, keyWordCount);
    const DWORD b = RotateLeft32(H((2 * i + 1) * kStep, oddWords, keyWordCount), 8);
    key->subKeys[2 * i] = a + b;
    key->subKeys[2 * i + 1] = RotateLeft32(a + 2 * b, 9);
  }
  for (int position = 0; position < 4; ++position)
    for (int x = 0; x < 256; ++x)
      key->sBox8x32[position][x] =
          kT.mds[position][QChain(position, uint8_t(x), key->sboxKeys, keyWordCount)];
  key->keySig = kValidKey;
  return TRUE;
}

int cipherInit(cipherInstance* cipher, BYTE mode, const char* /*IV*/) {
  if (!cipher) return BAD_PARAMS;
  if (mode != MODE_ECB) return BAD_CIPHER_MODE;
  cipher->mode = mode;
  cipher->cipherSig = kValidCipher;
  return TRUE;
}

int blockEncrypt(cipherInstance* cipher, keyInstance* key, const BYTE* input, int inputLen,
                 BYTE* outBuffer) {
  return Blocks(cipher, key, input, inputLen, outBuffer, EncryptOne);
}

int blockDecrypt(cipherInstance* cipher, keyInstance* key, const BYTE* input, int inputLen,
                 BYTE* outBuffer) {
  return Blocks(cipher, key, input, inputLen, outBuffer, DecryptOne);
}

int TwofishCrypt(int direction, const unsigned char key[32], const unsigned char* input, int length,
                 unsigned char* output) {
  if (!key || length < 0 || length % 16 != 0 || length > INT_MAX / 8) return -1;
  keyInstance keySchedule;
  if (makeKey(&keySchedule, BYTE(direction), 256, nullptr) != TRUE) return -1;
  for (int i = 0; i < 8; ++i) keySchedule.key32[i] = LoadLittleEndian32(key + 4 * i);
  cipherInstance cipher;
  if (reKey(&keySchedule) != TRUE || cipherInit(&cipher, MODE_ECB, nullptr) != TRUE) return -1;
  const int bits = direction == DIR_ENCRYPT
                       ? blockEncrypt(&cipher, &keySchedule, input, length * 8, output)
                       : blockDecrypt(&cipher, &keySchedule, input, length * 8, output);
  return bits == length * 8 ? 0 : -1;
}
