#pragma once
// The base of the model's small objects that a document may place in its
// storage (DocumentStorage): `new (storage) T(...)` places one there, a plain
// `new T(...)` on the heap, and `delete` does the right thing for either, so
// that whoever deletes such an object need not know where it lives. Each
// object is preceded by the storage it came from (none for the heap).

#include <cstddef>
#include <new>

class DocumentStorage;

class StorageObject {
 public:
  static void* operator new(std::size_t size);
  static void* operator new(std::size_t size, const std::nothrow_t&) noexcept;
  static void* operator new(std::size_t size, DocumentStorage& storage) noexcept;
  static void operator delete(void* object, std::size_t size);
  // Only for a constructor that fails half-way.
  static void operator delete(void* object, const std::nothrow_t&) noexcept;
  static void operator delete(void* object, DocumentStorage& storage) noexcept;

  // The storage the object lives in; null on the heap.
  static DocumentStorage* StorageOf(const void* object);

 protected:
  StorageObject() = default;
  ~StorageObject() = default;
};
