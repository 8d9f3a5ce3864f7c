#include "carbon/CollectionBytes.h"

#include <cstring>
#include <utility>

CollectionBytes::CollectionBytes(const CollectionBytes& other) { *this = other; }

// A view stays a view: the block it points into is shared by the copies.
CollectionBytes& CollectionBytes::operator=(const CollectionBytes& other) {
  if (this == &other) return *this;
  if (other.mOwned)
    Assign(other.mBytes, other.mSize);
  else
    Refer(other.mBytes, other.mSize);
  return *this;
}

CollectionBytes::CollectionBytes(CollectionBytes&& other) noexcept { *this = std::move(other); }

CollectionBytes& CollectionBytes::operator=(CollectionBytes&& other) noexcept {
  if (this == &other) return *this;
  Clear();
  mBytes = std::exchange(other.mBytes, nullptr);
  mSize = std::exchange(other.mSize, 0);
  mOwned = std::exchange(other.mOwned, false);
  return *this;
}

void CollectionBytes::Assign(const void* bytes, std::size_t size) {
  unsigned char* copy = size > 0 ? new unsigned char[size] : nullptr;
  if (size > 0) std::memcpy(copy, bytes, size);
  Clear();
  mBytes = copy;
  mSize = UInt32(size);
  mOwned = copy != nullptr;
}

void CollectionBytes::Clear() {
  if (mOwned) delete[] mBytes;
  mBytes = nullptr;
  mSize = 0;
  mOwned = false;
}
