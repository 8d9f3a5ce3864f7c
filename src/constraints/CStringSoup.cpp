#include "constraints/CStringSoup.h"

#include <cstring>

namespace {

constexpr size_t kBlockSize = 4096;
// Longer texts get a block of their own size rather than being cut, so that two
// long texts never share an id.
constexpr size_t kLongText = kBlockSize / 4;
constexpr size_t kReservedTexts = 512;

}  // namespace

CStringSoup::CStringSoup() {
  m_texts.reserve(kReservedTexts);
  m_slots.assign(2 * kReservedTexts, -1);
}

CStringSoup::~CStringSoup() = default;

// FNV-1a, measuring the text on the way.
CStringSoup::Text CStringSoup::Measure(const char* text) {
  size_t hash = 14695981039346656037ULL;
  const char* at = text;
  for (; *at != '\0'; ++at) hash = (hash ^ static_cast<unsigned char>(*at)) * 1099511628211ULL;
  return Text{text, static_cast<size_t>(at - text), hash};
}

size_t CStringSoup::SlotOf(const Text& key) const {
  size_t mask = m_slots.size() - 1;
  for (size_t slot = key.hash & mask;; slot = (slot + 1) & mask) {
    long id = m_slots[slot];
    if (id == -1) return slot;
    const Text& entry = m_texts[static_cast<size_t>(id)];
    if (entry.hash == key.hash && entry.length == key.length &&
        std::memcmp(entry.text, key.text, key.length) == 0)
      return slot;
  }
}

long CStringSoup::Insert(const char* text) {
  if (text == nullptr) return -1;
  Text key = Measure(text);
  size_t slot = SlotOf(key);
  if (m_slots[slot] != -1) return m_slots[slot];
  long id = size();
  m_texts.push_back(Text{Store(key), key.length, key.hash});
  m_slots[slot] = id;
  if (2 * m_texts.size() > m_slots.size()) Grow();
  return id;
}

const char* CStringSoup::Store(const Text& key) {
  size_t size = key.length + 1;
  if (size > kLongText) {
    m_blocks.emplace_back(new char[size]);
    std::memcpy(m_blocks.back().get(), key.text, size);
    return m_blocks.back().get();
  }
  if (size > m_freeBytes) {
    m_blocks.emplace_back(new char[kBlockSize]);
    m_free = m_blocks.back().get();
    m_freeBytes = kBlockSize;
  }
  char* stored = m_free;
  std::memcpy(stored, key.text, size);
  m_free += size;
  m_freeBytes -= size;
  return stored;
}

void CStringSoup::Grow() {
  m_slots.assign(2 * m_slots.size(), -1);
  size_t mask = m_slots.size() - 1;
  for (size_t id = 0; id < m_texts.size(); ++id) {
    size_t slot = m_texts[id].hash & mask;
    while (m_slots[slot] != -1) slot = (slot + 1) & mask;
    m_slots[slot] = static_cast<long>(id);
  }
}

const char* CStringSoup::Find(long id) const {
  if (id < 0 || id >= size()) return nullptr;
  return m_texts[static_cast<size_t>(id)].text;
}

long CStringSoup::Find(const char* text) const {
  if (text == nullptr) return -1;
  return m_slots[SlotOf(Measure(text))];
}

void CStringSoup::Clear() {
  m_texts.clear();
  m_slots.assign(2 * kReservedTexts, -1);
  m_blocks.clear();
  m_free = nullptr;
  m_freeBytes = 0;
}

long CStringSoup::size() const { return static_cast<long>(m_texts.size()); }
