#pragma once
// The display name of a popup choice, read as a platform string wherever one
// is expected. A choice that a document parses or rebuilds keeps only the
// bytes of its name, in the document's storage, and makes the platform string
// the first time the name is read: most names of a large document are never
// shown. One word, as the plain string it replaces: the kept bytes or the
// string, told apart by the low bit (storage blocks are aligned, so a block's
// address never has it).

#include <cstddef>
#include <cstdint>

#include "cf/CoreFoundation.h"

class DocumentStorage;
class PPDX;

class ChoiceName {
 public:
  ChoiceName() = default;
  ~ChoiceName();

  // A copy (a reader's by-value parameter) holds the string itself, made now.
  ChoiceName(const ChoiceName& other);
  ChoiceName& operator=(const ChoiceName&) = delete;

  // Takes a string the caller created (null for none) in place of the name, as
  // a plain field would: the caller released the string it held, if it wants.
  ChoiceName& operator=(CFStringRef created);

  // Keeps a copy of a platform string's saved external form, one that decodes
  // (ExternalFormDecodes), in a name that holds nothing yet.
  void KeepExternal(DocumentStorage& storage, const void* external, std::size_t length);
  // Keeps a copy of a PPD translation, which the document's display-name
  // converter turns into a string as from `encoding` (its source encoding now).
  void KeepTranslation(DocumentStorage& storage, const char* text, PPDX& document,
                       unsigned long encoding);
  // Gives the kept bytes back to the storage they were copied into; once the
  // string is made they are no longer read, and stay until the storage goes.
  void Release();

  // The name, made from the kept bytes on first read; null without one.
  operator CFStringRef() const;

 private:
  struct Kept;

  Kept* Keep(DocumentStorage& storage, const void* bytes, std::size_t length);
  Kept* KeptBytes() const;
  CFStringRef Text() const;

  mutable std::uintptr_t mWord = 0;
};
