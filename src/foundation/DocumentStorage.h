#pragma once
// Storage that a document owns for the many small blocks of its model (popup
// choices, their keywords and codes, flag words, list nodes): blocks are
// carved one after another from large chunks, each aligned only as its kind
// needs, and every chunk goes back to the heap in one step when the storage
// goes. Releasing one block returns nothing; its bytes stay unusable until
// then. Under AddressSanitizer a released block, and the gap after every block,
// are poisoned, so that a use after release or an overrun is caught as it
// would be on the heap.
//
// An object carries no mark of where it lives: whoever places objects here
// (a list that places its nodes, a popup choice with its keyword, a control
// with its flag words) knows it and ends them with Destroy, never with delete.
//
// The chunks of a storage that goes are kept for the next document
// (SpareBlocks).
//
// Nothing a caller may keep beyond the document may live here: platform
// objects and every Create/Copy result stay on the heap.

#include <cstddef>
#include <new>
#include <utility>
#include <vector>

#include "foundation/SpareBlocks.h"

class DocumentStorage {
 public:
  DocumentStorage() = default;
  ~DocumentStorage();

  DocumentStorage(const DocumentStorage&) = delete;
  DocumentStorage& operator=(const DocumentStorage&) = delete;

  // Whether Release does anything at all (it poisons in the sanitizer build):
  // without, an owner may forget its blocks instead of releasing each.
  static const bool kReleaseMarksBlocks;

  // A block of `size` bytes aligned to `alignment` (a power of two, at most
  // that of any object); null only for size 0. Chunks come from a plain new
  // (see doc/allocation.md).
  void* Allocate(std::size_t size, std::size_t alignment = alignof(std::max_align_t));
  // The block (Allocate's, of that size) is gone; null releases nothing.
  static void Release(void* block, std::size_t size);
  // A block holding a copy of the bytes, aligned for bytes only; null for none.
  void* Copy(const void* bytes, std::size_t size);

  // An object of that kind made here, with no more room than its own.
  template <class T, class... Args>
  T* Make(Args&&... args) {
    return ::new (Allocate(sizeof(T), alignof(T))) T(std::forward<Args>(args)...);
  }
  // Ends an object that Make made; null ends nothing.
  template <class T>
  static void Destroy(T* object) {
    if (object == nullptr) return;
    object->~T();
    Release(object, sizeof(T));
  }

  // The bytes of every chunk the storage holds.
  std::size_t ChunkBytes() const { return mChunkBytes; }

 private:
  struct Chunk {
    SpareBlocks::Block bytes;
    std::size_t size;
  };

  // A new chunk of that size, poisoned whole until carved.
  unsigned char* NewChunk(std::size_t size);
  // `taken` bytes from the current chunk, or from a new one, at that alignment.
  unsigned char* Carve(std::size_t taken, std::size_t alignment);

  std::vector<Chunk> mChunks;
  unsigned char* mFree = nullptr;
  std::size_t mFreeBytes = 0;
  std::size_t mChunkBytes = 0;
};
