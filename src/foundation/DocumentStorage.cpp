#include "foundation/DocumentStorage.h"

#include <cstdint>
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
// The sanitizer marks memory in granules of eight bytes: every block begins
// on one of its own, as on the heap.
constexpr std::size_t kLeastAlignment = kAlignment;
constexpr bool kPoisons = true;
#else
constexpr std::size_t kGap = 0;
constexpr std::size_t kLeastAlignment = 1;
constexpr bool kPoisons = false;
#endif

// The bytes that bring `at` to a multiple of `alignment`.
std::size_t Padding(const unsigned char* at, std::size_t alignment) {
  return std::size_t(-reinterpret_cast<std::uintptr_t>(at)) & (alignment - 1);
}

}  // namespace

const bool DocumentStorage::kReleaseMarksBlocks = kPoisons;

DocumentStorage::~DocumentStorage() {
  // The heap checks its own blocks again once they are its own.
  for (Chunk& chunk : mChunks) {
    ZPX_UNPOISON(chunk.bytes.get(), chunk.size);
    // A block with a chunk of its own has a size the next document is unlikely
    // to ask for again.
    if (chunk.size == kChunkSize) SpareBlocks::Give(std::move(chunk.bytes), chunk.size);
  }
}

void* DocumentStorage::Allocate(std::size_t size, std::size_t alignment) {
  if (size == 0) return nullptr;
  const std::size_t taken = size + kGap;
  // A chunk of its own is aligned for any object.
  unsigned char* block =
      taken > kLargeBlock ? NewChunk(taken)
                          : Carve(taken, alignment > kLeastAlignment ? alignment : kLeastAlignment);
  ZPX_UNPOISON(block, size);
  return block;
}

unsigned char* DocumentStorage::Carve(std::size_t taken, std::size_t alignment) {
  std::size_t padding = Padding(mFree, alignment);
  if (padding + taken > mFreeBytes) {
    mFree = NewChunk(kChunkSize);
    mFreeBytes = kChunkSize;
    padding = 0;
  }
  unsigned char* block = mFree + padding;
  mFree = block + taken;
  mFreeBytes -= padding + taken;
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
  void* block = Allocate(size, 1);
  if (block != nullptr) std::memcpy(block, bytes, size);
  return block;
}
