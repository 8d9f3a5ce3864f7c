// Throughput of the cipher and digest primitives against OpenSSL's on the same
// buffers (OpenSSL has no Twofish, so that one runs alone).

#include <benchmark/benchmark.h>
#include <openssl/evp.h>

#include <memory>
#include <vector>

#include "security/AES256CBC.h"
#include "security/DES.h"
#include "security/SHA1.h"
#include "security/Twofish.h"

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#include <openssl/des.h>

namespace {

constexpr size_t kBufferBytes = 16 * 1024;

struct Buffers {
  std::vector<unsigned char> in = std::vector<unsigned char>(kBufferBytes, 0x5a);
  std::vector<unsigned char> out = std::vector<unsigned char>(kBufferBytes + 32);
  unsigned char key[32] = {1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16,
                           17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32};
  unsigned char iv[16] = {};
};

void Finish(benchmark::State& state, const Buffers& buffers) {
  benchmark::DoNotOptimize(buffers.out.data());
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kBufferBytes));
}

void DES_Ours(benchmark::State& state) {
  Buffers b;
  deskey(b.key, EN0);
  for (auto _ : state)
    for (size_t i = 0; i < kBufferBytes; i += 8) des(&b.in[i], &b.out[i]);
  Finish(state, b);
}

void DES_OpenSSL(benchmark::State& state) {
  Buffers b;
  DES_key_schedule schedule;
  DES_set_key_unchecked(reinterpret_cast<DES_cblock*>(b.key), &schedule);
  for (auto _ : state)
    for (size_t i = 0; i < kBufferBytes; i += 8)
      DES_ecb_encrypt(reinterpret_cast<DES_cblock*>(&b.in[i]),
                      reinterpret_cast<DES_cblock*>(&b.out[i]), &schedule, DES_ENCRYPT);
  Finish(state, b);
}
#pragma GCC diagnostic pop

void AES256CBC_Ours(benchmark::State& state) {
  Buffers b;
  AES256CBC aes;
  aes.MakeKey(b.key, b.iv);
  for (auto _ : state) aes.Encrypt(b.in.data(), b.out.data(), kBufferBytes);
  Finish(state, b);
}

void AES256CBC_OpenSSL(benchmark::State& state) {
  Buffers b;
  std::unique_ptr<EVP_CIPHER_CTX, decltype(&EVP_CIPHER_CTX_free)> context(EVP_CIPHER_CTX_new(),
                                                                          EVP_CIPHER_CTX_free);
  EVP_EncryptInit_ex(context.get(), EVP_aes_256_cbc(), nullptr, b.key, b.iv);
  EVP_CIPHER_CTX_set_padding(context.get(), 0);
  int length = 0;
  for (auto _ : state)
    EVP_EncryptUpdate(context.get(), b.out.data(), &length, b.in.data(), int(kBufferBytes));
  Finish(state, b);
}

void Twofish_Ours(benchmark::State& state) {
  Buffers b;
  keyInstance key;
  cipherInstance cipher;
  makeKey(&key, DIR_ENCRYPT, 256, nullptr);
  reKey(&key);
  cipherInit(&cipher, MODE_ECB, nullptr);
  for (auto _ : state)
    blockEncrypt(&cipher, &key, b.in.data(), int(kBufferBytes * 8), b.out.data());
  Finish(state, b);
}

// The system's routine sets up a fresh key schedule on every call.
void TwofishRoutine_Ours(benchmark::State& state) {
  Buffers b;
  for (auto _ : state)
    TwofishCrypt(DIR_ENCRYPT, b.key, b.in.data(), int(kBufferBytes), b.out.data());
  Finish(state, b);
}

void SHA1_Ours(benchmark::State& state) {
  Buffers b;
  uint32_t digest[5];
  for (auto _ : state) {
    SHA1 sha;
    sha.Input(b.in.data(), kBufferBytes);
    sha.Result(digest);
    benchmark::DoNotOptimize(digest);
  }
  Finish(state, b);
}

void SHA1_OpenSSL(benchmark::State& state) {
  Buffers b;
  unsigned char digest[20];
  for (auto _ : state) {
    EVP_Digest(b.in.data(), kBufferBytes, digest, nullptr, EVP_sha1(), nullptr);
    benchmark::DoNotOptimize(digest);
  }
  Finish(state, b);
}

}  // namespace

BENCHMARK(DES_Ours);
BENCHMARK(DES_OpenSSL);
BENCHMARK(AES256CBC_Ours);
BENCHMARK(AES256CBC_OpenSSL);
BENCHMARK(Twofish_Ours);
BENCHMARK(TwofishRoutine_Ours);
BENCHMARK(SHA1_Ours);
BENCHMARK(SHA1_OpenSSL);
