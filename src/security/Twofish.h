#pragma once
// Twofish behind the reference interface published with the algorithm, with fully
// keyed S-boxes, plus the system's own ECB routine over it.

#include <cstdint>

typedef unsigned char BYTE;
typedef uint32_t DWORD;

enum {
  DIR_ENCRYPT = 0,
  DIR_DECRYPT = 1,
  MODE_ECB = 1,  // the only mode offered
  BLOCK_SIZE = 128,
  MAX_KEY_BITS = 256,
  MAX_KEY_SIZE = 64,  // hexadecimal characters of the longest key
  TOTAL_SUBKEYS = 40
};

// Results of the interface: TRUE or, for blockEncrypt and blockDecrypt, the number of
// bits processed; failures are negative.
#ifndef TRUE
#define TRUE 1
#endif
enum {
  BAD_KEY_DIR = -1,
  BAD_KEY_MAT = -2,
  BAD_KEY_INSTANCE = -3,
  BAD_CIPHER_MODE = -4,
  BAD_CIPHER_STATE = -5,
  BAD_INPUT_LEN = -6,
  BAD_PARAMS = -7
};

struct keyInstance {
  BYTE direction;
  int keyLen;                          // 128, 192 or 256 bits
  char keyMaterial[MAX_KEY_SIZE + 4];  // the key as hexadecimal text, when given
  DWORD keySig;                        // set once a schedule has been built
  DWORD key32[MAX_KEY_BITS / 32];      // the key bytes as little-endian words
  DWORD sboxKeys[MAX_KEY_BITS / 64];
  DWORD subKeys[TOTAL_SUBKEYS];
  DWORD sBox8x32[4][256];  // key-dependent S-boxes merged with the MDS matrix
};

struct cipherInstance {
  BYTE mode;
  DWORD cipherSig;  // set by cipherInit
};

// Without key material only the direction and length are set; the caller then fills
// key32 and calls reKey. Key material is keyLen / 4 hexadecimal digits.
int makeKey(keyInstance* key, BYTE direction, int keyLen, const char* keyMaterial);
int reKey(keyInstance* key);
// The initialisation vector text is not used by ECB.
int cipherInit(cipherInstance* cipher, BYTE mode, const char* IV);
int blockEncrypt(cipherInstance* cipher, keyInstance* key, const BYTE* input, int inputLen,
                 BYTE* outBuffer);
int blockDecrypt(cipherInstance* cipher, keyInstance* key, const BYTE* input, int inputLen,
                 BYTE* outBuffer);

// ECB with a 256-bit key over length bytes, a multiple of 16: 0 when all of them were
// processed, -1 otherwise (and then nothing is written).
int TwofishCrypt(int direction, const unsigned char key[32], const unsigned char* input, int length,
                 unsigned char* output);
