#pragma once
// A zero-filled block of bytes that holds key material or clear text while it
// is worked on, wiped before its memory goes back. Allocation failure leaves
// it empty (false), for the callers that report it.

#include <string.h>

#include <cstddef>
#include <memory>
#include <new>

class SecretBuffer {
 public:
  explicit SecretBuffer(size_t size)
      : mBytes(new (std::nothrow) unsigned char[size]()), mSize(mBytes ? size : 0) {}
  ~SecretBuffer() {
    if (mBytes) explicit_bzero(mBytes.get(), mSize);
  }
  SecretBuffer(const SecretBuffer&) = delete;
  SecretBuffer& operator=(const SecretBuffer&) = delete;

  explicit operator bool() const { return mBytes != nullptr; }
  unsigned char* get() const { return mBytes.get(); }
  size_t size() const { return mSize; }

 private:
  std::unique_ptr<unsigned char[]> mBytes;
  size_t mSize;
};
