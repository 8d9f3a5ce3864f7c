#pragma once
// A typed front over a PointerList whose owner stores pointers of one class.
// The list itself stays a list of untyped borrowed pointers; the view only
// gives them back as what was stored, so that no caller casts from void.
// A view over `const T` reads a const list.

#include <memory>
#include <type_traits>

#include "foundation/DocumentStorage.h"
#include "foundation/PointerList.h"

template <class T>
class PointerListOf {
  static constexpr bool kReadOnly = std::is_const<T>::value;
  using List = std::conditional_t<kReadOnly, const PointerList, PointerList>;
  using Position = std::conditional_t<kReadOnly, ConstPointerListItr, PointerListItr>;

 public:
  class Iterator {
   public:
    explicit Iterator(Position position) : mPosition(position) {}
    T* operator*() const { return At(mPosition); }
    Iterator& operator++() {
      ++mPosition;
      return *this;
    }
    bool operator!=(const Iterator& other) const { return mPosition != other.mPosition; }

   private:
    Position mPosition;
  };

  explicit PointerListOf(List& list) : mList(list) {}

  // The element at a position of such a list; null at a sentinel or a null position.
  static T* At(const Position& position) { return static_cast<T*>(const_cast<void*>(*position)); }

  Iterator begin() const { return Iterator(mList.Begin()); }
  Iterator end() const { return Iterator(mList.End()); }
  // Null when the list is empty.
  T* Front() const { return static_cast<T*>(const_cast<void*>(mList.Front())); }

  // For owners of what they listed: deletes every element (as a unique_ptr
  // would), then empties the list.
  void DeleteAll() {
    for (T* element : *this) std::default_delete<T>()(element);
    mList.MakeEmpty();
  }

  // For owners that place what they list where the list's nodes live (the
  // heap, or a document's storage: DocumentStorage::Make): ends every element
  // there, then empties the list.
  void EndAll() {
    if (mList.NodeStorage() == nullptr) return DeleteAll();
    for (T* element : *this) DocumentStorage::Destroy(element);
    mList.MakeEmpty();
  }

 private:
  List& mList;
};
