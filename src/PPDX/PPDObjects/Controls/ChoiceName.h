#pragma once
// The display name of a popup choice, read as a platform string wherever one
// is expected. A rebuilt choice keeps only the saved bytes of its name (in
// the document's storage) and makes the platform string the first time it is
// read: most names of a large document are never shown.

#include <cstddef>

#include "cf/CoreFoundation.h"

class ChoiceName {
 public:
  ChoiceName() = default;
  ~ChoiceName();

  // A copy (a reader's by-value parameter) holds the string itself, made now.
  ChoiceName(const ChoiceName& other);
  ChoiceName& operator=(const ChoiceName&) = delete;

  // Adopts a string the caller created (null for none), as a plain field would.
  ChoiceName& operator=(CFStringRef created);

  // Keeps bytes that live as long as this name: a platform string's saved
  // external form, which decodes (see ExternalFormDecodes).
  void Defer(const unsigned char* external, std::size_t length);
  const unsigned char* DeferredBytes() const { return mExternal; }
  std::size_t DeferredLength() const { return mLength; }

  // The name, made from the kept bytes on first read; null without one.
  operator CFStringRef() const;

 private:
  mutable CFStringRef mText = nullptr;
  const unsigned char* mExternal = nullptr;
  std::size_t mLength = 0;
};
