#pragma once
// Memory that a document gives back when it goes, kept for the next document,
// up to a bound. Handed back all at once, a document's memory lets the heap
// return its top to the system, and a document made again (a dialog opened
// and closed) would fault every page in again; kept here, the next document
// reuses the same pages.
//
// The sanitizer build keeps nothing, so that a use after the document is
// caught as a use of freed heap. Nothing is kept once the program or the
// bundle holding this code is going.

#include <cstddef>
#include <memory>

class SpareBlocks {
 public:
  using Block = std::unique_ptr<unsigned char[]>;

  // A kept block of exactly `size` bytes, or a new one (a plain new; see
  // doc/allocation.md). Its bytes are unspecified.
  static Block Take(std::size_t size);
  // As Take, but null when a new block cannot be had (a nothrow new), for
  // callers that have another way.
  static Block TryTake(std::size_t size);
  // Keeps the block of `size` bytes for a later Take, or frees it.
  static void Give(Block block, std::size_t size);

  // Frees every kept block.
  static void ReleaseAll();
  // The bytes of the blocks kept now.
  static std::size_t KeptBytes();
};
