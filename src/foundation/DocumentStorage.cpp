#include "foundation/DocumentStorage.h"

#include <cstring>
#include <utility>

#include "foundation/SpareBlocks.h"

#if defined(__SANITIZE_ADDRESS__)
#define ZPX_STORAGE_POISONS 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZPX_STORAGE_POISONS 1
#endif
#endif

#ifdef ZPX_STORAGE_POISONS
#include <sanitizer/asan_interface.h>
#define ZPX_POISON(at, size) ASAN_POISON_MEMORY_REGION(at, size)
#define ZPX_UNPOISON(at, size) ASAN_UNPOISON_MEMORY_REGION(at, size)
#else
#define ZPX_POISON(at, size) ((void)(at), (void)(size))
#define ZPX_UNPOISON(at, size) ((void)(at), (void)(size))
#endif

namespace {

constexpr std::size_t kAlignment = alignof(std::max_align_t);
// Below the size from which the heap maps chunks of their own, so that a
// document made again and again reuses the heap's pages instead of faulting in
// new ones each time.
constexpr std::size_t kChunkSize = 64 * 1024 - 64;
// A block of more than this gets a chunk of its own, so that little of a
// chunk goes unused.
constexpr std::size_t kLargeBlock = kChunkSize / 8;
#ifdef ZPX_STORAGE_POISONS
constexpr std::size_t kGap = kAlignment;
#else
constexpr std::size_t kGap = 0;
#endif

std::size_t Rounded(std::size_t size) { return (size + kAlignment - 1) & ~(kAlignment - 1); }

}  // namespace

DocumentStorage::~DocumentStorage() {
  // The heap checks its own blocks again once they are its own.
  for (Chunk& chunk : mChunks) {
    ZPX_UNPOISON(chunk.bytes.get(), chunk.size);
    // A block with a chunk of its own has a size the next document is unlikely
    // to ask for again.
    if (chunk.size == kChunkSize) SpareBlocks::Give(std::move(chunk.bytes), chunk.size);
  }
}

void* DocumentStorage::Allocate(std::size_t size) {
  if (size == 0) return nullptr;
  const std::size_t taken = Rounded(size) + kGap;
  unsigned char* block = nullptr;
  if (taken > kLargeBlock) {
    block = NewChunk(taken);
  } else {
    if (taken > mFreeBytes) {
      mFree = NewChunk(kChunkSize);
      mFreeBytes = kChunkSize;
    }
    block = mFree;
    mFree += taken;
    mFreeBytes -= taken;
  }
  ZPX_UNPOISON(block, size);
  return block;
}

unsigned char* DocumentStorage::NewChunk(std::size_t size) {
  mChunks.push_back(Chunk{SpareBlocks::Take(size), size});
  unsigned char* chunk = mChunks.back().bytes.get();
  mChunkBytes += size;
  ZPX_POISON(chunk, size);
  return chunk;
}

void DocumentStorage::Release(void* block, std::size_t size) {
  if (block != nullptr) ZPX_POISON(block, size);
}

void* DocumentStorage::Copy(const void* bytes, std::size_t size) {
  void* block = Allocate(size);
  if (block != nullptr) std::memcpy(block, bytes, size);
  return block;
}
