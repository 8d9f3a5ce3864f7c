#include "constraints/CStringSoup.h"

#include <cstring>

namespace {

constexpr size_t kBlockSize = 4096;
// Longer texts get a block of their own size rather than being cut, so that two
// long texts never share an id.
constexpr size_t kLongText = kBlockSize / 4;
constexpr size_t kReservedTexts = 512;

}  // namespace

CStringSoup::CStringSoup() : mIds(kReservedTexts) { mTexts.reserve(kReservedTexts); }

CStringSoup::~CStringSoup() = default;

// FNV-1a, measuring the text on the way.
CStringSoup::Text CStringSoup::Measure(const char* text) {
  size_t hash = 14695981039346656037ULL;
  const char* at = text;
  for (; *at != '\0'; ++at) hash = (hash ^ static_cast<unsigned char>(*at)) * 1099511628211ULL;
  return Text{text, static_cast<size_t>(at - text), hash};
}

size_t CStringSoup::SlotOf(const Text& key) const {
  return mIds.SlotOf(key.hash, [this, &key](long id) {
    const Text& entry = mTexts[static_cast<size_t>(id)];
    return entry.hash == key.hash && entry.length == key.length &&
           std::memcmp(entry.text, key.text, key.length) == 0;
  });
}

long CStringSoup::Insert(const char* text) {
  if (text == nullptr) return -1;
  Text key = Measure(text);
  size_t slot = SlotOf(key);
  if (mIds.At(slot) != -1) return mIds.At(slot);
  long id = size();
  mTexts.push_back(Text{Store(key), key.length, key.hash});
  mIds.Put(slot, id, key.hash);
  return id;
}

const char* CStringSoup::Store(const Text& key) {
  size_t size = key.length + 1;
  if (size > kLongText) {
    mBlocks.emplace_back(new char[size]);
    std::memcpy(mBlocks.back().get(), key.text, size);
    return mBlocks.back().get();
  }
  if (size > mFreeBytes) {
    mBlocks.emplace_back(new char[kBlockSize]);
    mFree = mBlocks.back().get();
    mFreeBytes = kBlockSize;
  }
  char* stored = mFree;
  std::memcpy(stored, key.text, size);
  mFree += size;
  mFreeBytes -= size;
  return stored;
}

const char* CStringSoup::Find(long id) const {
  if (id < 0 || id >= size()) return nullptr;
  return mTexts[static_cast<size_t>(id)].text;
}

long CStringSoup::Find(const char* text) const {
  if (text == nullptr) return -1;
  return mIds.At(SlotOf(Measure(text)));
}

void CStringSoup::Clear() {
  mTexts.clear();
  mIds.Clear(kReservedTexts);
  mBlocks.clear();
  mFree = nullptr;
  mFreeBytes = 0;
}

long CStringSoup::size() const { return static_cast<long>(mTexts.size()); }
