#include "cf/CFObject.h"

#include <cassert>

void CFObject::retain() const {
  if (!constant_) ++retainCount_;
}

bool CFObject::release() const {
  if (constant_) return false;
  assert(retainCount_ > 0);
  return --retainCount_ == 0;
}

CFHashCode CFObjectHashBytes(const void* bytes, size_t length) {
  const unsigned char* cursor = static_cast<const unsigned char*>(bytes);
  CFHashCode hash = 14695981039346656037ul;
  for (size_t i = 0; i < length; ++i) {
    hash ^= cursor[i];
    hash *= 1099511628211ul;
  }
  return hash;
}
