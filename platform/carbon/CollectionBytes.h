#pragma once
// The data bytes of one collection item: a heap copy of its own, or a view into
// a flattened block that the collection keeps for as long as it lives, so that
// unflattening copies the block once instead of allocating for every item.

#include <cstddef>

#include "carbon/MacTypes.h"

class CollectionBytes {
 public:
  CollectionBytes() = default;
  ~CollectionBytes() {
    if (mOwned) Clear();
  }
  CollectionBytes(const CollectionBytes& other);
  CollectionBytes& operator=(const CollectionBytes& other);
  CollectionBytes(CollectionBytes&& other) noexcept;
  CollectionBytes& operator=(CollectionBytes&& other) noexcept;

  // Takes a copy of the bytes.
  void Assign(const void* bytes, std::size_t size);
  // Points at bytes that outlive this object; nothing is copied.
  void Refer(const unsigned char* bytes, std::size_t size) {
    if (mOwned) Clear();
    mBytes = bytes;
    mSize = UInt32(size);
  }
  void Clear();

  // Never null, so that a copy of zero bytes needs no check.
  const void* Data() const { return mBytes != nullptr ? static_cast<const void*>(mBytes) : ""; }
  std::size_t Size() const { return mSize; }

 private:
  const unsigned char* mBytes = nullptr;
  UInt32 mSize = 0;
  bool mOwned = false;
};
