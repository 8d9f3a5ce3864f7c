#pragma once
// One reference to a platform object, given back when the holder goes out of
// scope: a Create or Copy result is then released on every way out of a function
// without a CFRelease on each of them.

#include <utility>

#include "cf/CFBase.h"

template <class T>
class CFRef {
 public:
  CFRef() = default;
  // Adopts the reference the caller owns (a Create or Copy result); null holds nothing.
  explicit CFRef(T owned) : mObject(owned) {}
  // Takes a reference of its own to an object the caller only borrows.
  static CFRef Retain(T borrowed) {
    if (borrowed != nullptr) CFRetain(borrowed);
    return CFRef(borrowed);
  }

  CFRef(CFRef&& other) noexcept : mObject(other.release()) {}
  CFRef& operator=(CFRef&& other) noexcept {
    reset(other.release());
    return *this;
  }
  CFRef(const CFRef&) = delete;
  CFRef& operator=(const CFRef&) = delete;
  ~CFRef() { reset(); }

  T get() const { return mObject; }
  explicit operator bool() const { return mObject != nullptr; }
  // Hands the reference out: the caller releases it, the holder is left empty.
  T release() { return std::exchange(mObject, nullptr); }
  // Releases what is held, then adopts `owned`.
  void reset(T owned = nullptr) {
    T previous = std::exchange(mObject, owned);
    if (previous != nullptr) CFRelease(previous);
  }

 private:
  T mObject = nullptr;
};
