#pragma once
// OpenSSL as the independent reference for the ciphers the system writes itself.

#include <openssl/evp.h>

#include <memory>

#include "security/TestBytes.h"

// The reference's single-DES call is deprecated in OpenSSL 3 but still the plainest
// independent implementation to compare with.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#include <openssl/des.h>

// One block, or with a longer input each 8-byte block in turn (ECB).
inline Bytes ReferenceDES(const Bytes& key, const Bytes& in, bool encrypt) {
  DES_cblock keyBlock;
  std::copy(key.begin(), key.begin() + 8, keyBlock);
  DES_key_schedule schedule;
  DES_set_key_unchecked(&keyBlock, &schedule);
  Bytes out(in.size());
  for (size_t block = 0; block + 8 <= in.size(); block += 8) {
    DES_cblock input;
    DES_cblock output;
    std::copy(in.begin() + long(block), in.begin() + long(block) + 8, input);
    DES_ecb_encrypt(&input, &output, &schedule, encrypt ? DES_ENCRYPT : DES_DECRYPT);
    std::copy(output, output + 8, out.begin() + long(block));
  }
  return out;
}
#pragma GCC diagnostic pop

// AES-256-CBC without padding over a whole number of blocks.
inline Bytes ReferenceCBC(const Bytes& key, const Bytes& iv, const Bytes& in, bool encrypt) {
  std::unique_ptr<EVP_CIPHER_CTX, decltype(&EVP_CIPHER_CTX_free)> context(EVP_CIPHER_CTX_new(),
                                                                          EVP_CIPHER_CTX_free);
  EVP_CipherInit_ex(context.get(), EVP_aes_256_cbc(), nullptr, key.data(), iv.data(), encrypt);
  EVP_CIPHER_CTX_set_padding(context.get(), 0);
  Bytes out(in.size());
  int length = 0;
  EVP_CipherUpdate(context.get(), out.data(), &length, in.data(), int(in.size()));
  return out;
}
