#pragma once
// Storage that a document owns for the many small blocks of its model (popup
// choices, their keywords and codes): blocks are carved one after another
// from large chunks, and every chunk goes back to the heap in one step when
// the storage goes. Releasing one block returns nothing; its bytes stay
// unusable until then. Under AddressSanitizer a released block, and the gap
// after every block, are poisoned, so that a use after release or an overrun
// is caught as it would be on the heap.
//
// The chunks of a storage that goes are kept for the next document
// (SpareBlocks).
//
// Nothing a caller may keep beyond the document may live here: platform
// objects and every Create/Copy result stay on the heap.

#include <cstddef>
#include <vector>

#include "foundation/SpareBlocks.h"

class DocumentStorage {
 public:
  DocumentStorage() = default;
  ~DocumentStorage();

  DocumentStorage(const DocumentStorage&) = delete;
  DocumentStorage& operator=(const DocumentStorage&) = delete;

  // A block of `size` bytes aligned for any object; null only for size 0. Chunks
  // come from a plain new (see doc/allocation.md).
  void* Allocate(std::size_t size);
  // The block (Allocate's, of that size) is gone; null releases nothing.
  void Release(void* block, std::size_t size);
  // A block holding a copy of the bytes; null for none.
  void* Copy(const void* bytes, std::size_t size);

  // The bytes of every chunk the storage holds.
  std::size_t ChunkBytes() const { return mChunkBytes; }

 private:
  struct Chunk {
    SpareBlocks::Block bytes;
    std::size_t size;
  };

  // A new chunk of that size, poisoned whole until carved.
  unsigned char* NewChunk(std::size_t size);

  std::vector<Chunk> mChunks;
  unsigned char* mFree = nullptr;
  std::size_t mFreeBytes = 0;
  std::size_t mChunkBytes = 0;
};
