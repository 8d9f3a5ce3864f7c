#include "PPDX/PPDObjects/Controls/ChoiceName.h"

#include <cstring>

#include "PPDX/PPDX.h"
#include "ZPXUtils/PPDUtils/TextConverter.h"
#include "foundation/DocumentStorage.h"
#include "foundation/SettingsStrings.h"

// The kept bytes follow this header in one block of the storage. Without a
// document they are an external form; with one, a NUL-terminated translation.
struct ChoiceName::Kept {
  PPDX* document;
  UInt32 encoding;
  UInt32 length;

  unsigned char* Bytes() { return reinterpret_cast<unsigned char*>(this + 1); }
  std::size_t BlockSize() const { return sizeof(Kept) + length; }
};

namespace {

constexpr std::uintptr_t kKeptBit = 1;

}  // namespace

ChoiceName::Kept* ChoiceName::KeptBytes() const {
  return (mWord & kKeptBit) != 0 ? reinterpret_cast<Kept*>(mWord & ~kKeptBit) : nullptr;
}

CFStringRef ChoiceName::Text() const {
  return (mWord & kKeptBit) == 0 ? reinterpret_cast<CFStringRef>(mWord) : nullptr;
}

ChoiceName::ChoiceName(const ChoiceName& other)
    : mWord(reinterpret_cast<std::uintptr_t>(static_cast<CFStringRef>(other))) {
  if (Text() != nullptr) CFRetain(Text());
}

ChoiceName::~ChoiceName() {
  if (Text() != nullptr) CFRelease(Text());
}

ChoiceName& ChoiceName::operator=(CFStringRef created) {
  mWord = reinterpret_cast<std::uintptr_t>(created);
  return *this;
}

ChoiceName::Kept* ChoiceName::Keep(DocumentStorage& storage, const void* bytes,
                                   std::size_t length) {
  auto* kept = static_cast<Kept*>(storage.Allocate(sizeof(Kept) + length, alignof(Kept)));
  kept->document = nullptr;
  kept->encoding = 0;
  kept->length = UInt32(length);
  std::memcpy(kept->Bytes(), bytes, length);
  mWord = reinterpret_cast<std::uintptr_t>(kept) | kKeptBit;
  return kept;
}

void ChoiceName::KeepExternal(DocumentStorage& storage, const void* external, std::size_t length) {
  Keep(storage, external, length);
}

void ChoiceName::KeepTranslation(DocumentStorage& storage, const char* text, PPDX& document,
                                 unsigned long encoding) {
  Kept* kept = Keep(storage, text, std::strlen(text) + 1);
  kept->document = &document;
  kept->encoding = UInt32(encoding);
}

void ChoiceName::Release() {
  Kept* kept = KeptBytes();
  if (kept == nullptr) return;
  DocumentStorage::Release(kept, kept->BlockSize());
  mWord = 0;
}

ChoiceName::operator CFStringRef() const {
  Kept* kept = KeptBytes();
  if (kept == nullptr) return Text();
  CFStringRef made = kept->document == nullptr
                         ? ExtenalToCFString(kept->Bytes(), long(kept->length))
                         : kept->document->DisplayNameConverter().ConvertToCFStringFrom(
                               reinterpret_cast<const char*>(kept->Bytes()), kept->encoding);
  mWord = reinterpret_cast<std::uintptr_t>(made);
  return made;
}
