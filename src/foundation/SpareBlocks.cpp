#include "foundation/SpareBlocks.h"

#include <mutex>
#include <new>
#include <utility>
#include <vector>

namespace {

#if defined(__SANITIZE_ADDRESS__)
#define ZPX_SPARES_KEPT 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZPX_SPARES_KEPT 0
#endif
#endif
#ifndef ZPX_SPARES_KEPT
#define ZPX_SPARES_KEPT 1
#endif

// What the model of a large PPD (2 MB, 2,000 options, 20,000 constraint
// lines) and the parse's copy of its file take in large blocks, with room to
// spare.
constexpr std::size_t kMostKeptBytes = ZPX_SPARES_KEPT ? 10 * 1024 * 1024 : 0;

struct Kept {
  SpareBlocks::Block block;
  std::size_t size;
};

struct Spares {
  std::mutex lock;
  std::vector<Kept> blocks;
  std::size_t bytes = 0;
  bool closed = false;  // the program or the bundle is going: keep none
};

// Never destroyed, and not on the heap: a document may go after the program's
// statics, and a bundle that unloads takes this storage with it.
Spares& TheSpares() {
  alignas(Spares) static unsigned char space[sizeof(Spares)];
  static Spares* spares = new (space) Spares;
  return *spares;
}

void FreeAll(Spares& spares) {
  spares.blocks.clear();
  spares.bytes = 0;
}

// At exit, or when the bundle holding this code unloads, the kept blocks go
// back to the heap, and a document that goes later keeps none.
struct SparesCloser {
  ~SparesCloser() {
    Spares& spares = TheSpares();
    std::lock_guard<std::mutex> held(spares.lock);
    FreeAll(spares);
    spares.closed = true;
  }
} sSparesCloser;

// Blocks of one size are mostly given and taken together, the last given
// first: the search from the end is short.
SpareBlocks::Block TakeKept(std::size_t size) {
  Spares& spares = TheSpares();
  std::lock_guard<std::mutex> held(spares.lock);
  for (std::size_t k = spares.blocks.size(); k-- > 0;) {
    if (spares.blocks[k].size != size) continue;
    SpareBlocks::Block block = std::move(spares.blocks[k].block);
    spares.blocks.erase(spares.blocks.begin() + long(k));
    spares.bytes -= size;
    return block;
  }
  return nullptr;
}

}  // namespace

SpareBlocks::Block SpareBlocks::Take(std::size_t size) {
  Block block = TakeKept(size);
  return block ? std::move(block) : Block(new unsigned char[size]);
}

SpareBlocks::Block SpareBlocks::TryTake(std::size_t size) {
  Block block = TakeKept(size);
  return block ? std::move(block) : Block(new (std::nothrow) unsigned char[size]);
}

void SpareBlocks::Give(Block block, std::size_t size) {
  if (!block || size > kMostKeptBytes) return;
  Spares& spares = TheSpares();
  std::lock_guard<std::mutex> held(spares.lock);
  if (spares.closed || spares.bytes > kMostKeptBytes - size) return;
  spares.blocks.push_back(Kept{std::move(block), size});
  spares.bytes += size;
}

void SpareBlocks::ReleaseAll() {
  Spares& spares = TheSpares();
  std::lock_guard<std::mutex> held(spares.lock);
  FreeAll(spares);
}

std::size_t SpareBlocks::KeptBytes() {
  Spares& spares = TheSpares();
  std::lock_guard<std::mutex> held(spares.lock);
  return spares.bytes;
}
