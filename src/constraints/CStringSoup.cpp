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

// FNV-1a.
CStringSoup::Text CStringSoup::Measure(std::string_view text) {
  size_t hash = 14695981039346656037ULL;
  for (char c : text) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
  return Text{text.data(), text.size(), hash};
}

size_t CStringSoup::SlotOf(const Text& key) const {
  return mIds.SlotOf(key.hash, [this, &key](long id) {
    const Text& entry = mTexts[static_cast<size_t>(id)];
    return entry.hash == key.hash && entry.length == key.length &&
           std::memcmp(entry.text, key.text, key.length) == 0;
  });
}

long CStringSoup::Insert(const char* text) {
  return text != nullptr ? Insert(std::string_view(text)) : -1;
}

long CStringSoup::Insert(std::string_view text) {
  // memcpy and memcmp want a pointer even for no bytes: an empty view may have none.
  if (text.empty()) text = std::string_view("", 0);
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
    std::memcpy(mBlocks.back().get(), key.text, key.length);
    mBlocks.back()[key.length] = '\0';
    return mBlocks.back().get();
  }
  if (size > mFreeBytes) {
    mBlocks.emplace_back(new char[kBlockSize]);
    mFree = mBlocks.back().get();
    mFreeBytes = kBlockSize;
  }
  char* stored = mFree;
  std::memcpy(stored, key.text, key.length);
  stored[key.length] = '\0';
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
  return mIds.At(SlotOf(Measure(std::string_view(text))));
}

void CStringSoup::Clear() {
  mTexts.clear();
  mIds.Clear(kReservedTexts);
  mBlocks.clear();
  mFree = nullptr;
  mFreeBytes = 0;
}

long CStringSoup::size() const { return static_cast<long>(mTexts.size()); }
