#pragma once
// One reference to a counted model object (a document: Retain and Release),
// given back when the holder goes out of scope, on every way out of a function.

#include <utility>

template <class T>
class PPDRef {
 public:
  PPDRef() = default;
  // Adopts the reference the caller owns (a new object's); null holds nothing.
  explicit PPDRef(T* owned) : mObject(owned) {}

  PPDRef(PPDRef&& other) noexcept : mObject(other.release()) {}
  PPDRef& operator=(PPDRef&& other) noexcept {
    reset(other.release());
    return *this;
  }
  PPDRef(const PPDRef&) = delete;
  PPDRef& operator=(const PPDRef&) = delete;
  ~PPDRef() { reset(); }

  T* get() const { return mObject; }
  T* operator->() const { return mObject; }
  T& operator*() const { return *mObject; }
  explicit operator bool() const { return mObject != nullptr; }
  // Hands the reference out: the caller releases it, the holder is left empty.
  T* release() { return std::exchange(mObject, nullptr); }
  // Releases what is held, then adopts `owned`.
  void reset(T* owned = nullptr) {
    T* previous = std::exchange(mObject, owned);
    if (previous != nullptr) previous->Release();
  }

 private:
  T* mObject = nullptr;
};
