#include "foundation/DocumentStorage.h"

#include <cstring>
#include <mutex>
#include <new>

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

#ifdef ZPX_STORAGE_POISONS
// The sanitizer sees every chunk go back to the heap with its document, so that
// a use after the document is caught.
constexpr std::size_t kMostSpareChunks = 0;
#else
// The chunks of a document that goes are kept for the next one, up to 4 MiB:
// handed back all at once they let the heap give its top back to the system,
// and the next document would fault every page in again.
constexpr std::size_t kMostSpareChunks = 64;
#endif

struct SpareChunks {
  std::mutex lock;
  std::vector<std::unique_ptr<unsigned char[]>> chunks;
  bool closed = false;  // the program or the bundle is going: keep none
};

// Never destroyed, and not on the heap: a document may go after the program's
// statics, and a bundle that unloads takes this storage with it.
SpareChunks& Spares() {
  alignas(SpareChunks) static unsigned char space[sizeof(SpareChunks)];
  static SpareChunks* spares = new (space) SpareChunks;
  return *spares;
}

// At exit, or when the bundle holding this code unloads, the kept chunks go
// back to the heap, and a document that goes later keeps none.
struct SpareChunksCloser {
  ~SpareChunksCloser() {
    SpareChunks& spares = Spares();
    std::lock_guard<std::mutex> held(spares.lock);
    spares.chunks.clear();
    spares.closed = true;
  }
} sSpareChunksCloser;

std::unique_ptr<unsigned char[]> TakeSpareChunk() {
  SpareChunks& spares = Spares();
  std::lock_guard<std::mutex> held(spares.lock);
  if (spares.chunks.empty()) return nullptr;
  std::unique_ptr<unsigned char[]> chunk = std::move(spares.chunks.back());
  spares.chunks.pop_back();
  return chunk;
}

void KeepSpareChunk(std::unique_ptr<unsigned char[]>& chunk) {
  SpareChunks& spares = Spares();
  std::lock_guard<std::mutex> held(spares.lock);
  if (!spares.closed && spares.chunks.size() < kMostSpareChunks)
    spares.chunks.push_back(std::move(chunk));
}

std::size_t Rounded(std::size_t size) { return (size + kAlignment - 1) & ~(kAlignment - 1); }

}  // namespace

DocumentStorage::~DocumentStorage() {
  // The heap checks its own blocks again once they are its own.
  for (Chunk& chunk : mChunks) {
    ZPX_UNPOISON(chunk.bytes.get(), chunk.size);
    if (chunk.size == kChunkSize) KeepSpareChunk(chunk.bytes);
  }
}

void DocumentStorage::ReleaseSpareChunks() {
  SpareChunks& spares = Spares();
  std::lock_guard<std::mutex> held(spares.lock);
  spares.chunks.clear();
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
  std::unique_ptr<unsigned char[]> spare = size == kChunkSize ? TakeSpareChunk() : nullptr;
  unsigned char* chunk = spare ? spare.release() : new unsigned char[size];
  mChunks.push_back(Chunk{std::unique_ptr<unsigned char[]>(chunk), size});
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
