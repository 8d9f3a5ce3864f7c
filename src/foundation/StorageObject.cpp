#include "foundation/StorageObject.h"

#include "foundation/DocumentStorage.h"

namespace {

// Keeps the object aligned for anything.
constexpr std::size_t kHeader = alignof(std::max_align_t);

struct Header {
  DocumentStorage* storage;
};

void* Tagged(void* block, DocumentStorage* storage) {
  if (block == nullptr) return nullptr;
  static_cast<Header*>(block)->storage = storage;
  return static_cast<unsigned char*>(block) + kHeader;
}

Header* HeaderOf(const void* object) {
  const auto* bytes = static_cast<const unsigned char*>(object);
  return reinterpret_cast<Header*>(const_cast<unsigned char*>(bytes - kHeader));
}

void Free(void* object, std::size_t size) {
  if (object == nullptr) return;
  Header* header = HeaderOf(object);
  if (header->storage != nullptr)
    header->storage->Release(header, size + kHeader);
  else
    ::operator delete(header);
}

}  // namespace

void* StorageObject::operator new(std::size_t size) {
  return Tagged(::operator new(size + kHeader), nullptr);
}

void* StorageObject::operator new(std::size_t size, const std::nothrow_t&) noexcept {
  return Tagged(::operator new(size + kHeader, std::nothrow), nullptr);
}

void* StorageObject::operator new(std::size_t size, DocumentStorage& storage) noexcept {
  return Tagged(storage.Allocate(size + kHeader), &storage);
}

void StorageObject::operator delete(void* object, std::size_t size) { Free(object, size); }

void StorageObject::operator delete(void* object, const std::nothrow_t&) noexcept {
  Free(object, 0);
}

void StorageObject::operator delete(void* object, DocumentStorage&) noexcept { Free(object, 0); }

DocumentStorage* StorageObject::StorageOf(const void* object) {
  return object != nullptr ? HeaderOf(object)->storage : nullptr;
}
