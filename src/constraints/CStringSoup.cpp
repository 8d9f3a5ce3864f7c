#include "constraints/CStringSoup.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr size_t kBlockSize = 64;
constexpr size_t kReservedTexts = 512;

}  // namespace

CStringSoup::CStringSoup() {
  m_blocks.reserve(kReservedTexts);
  m_ids.reserve(kReservedTexts);
}

CStringSoup::~CStringSoup() = default;

long CStringSoup::Insert(const char* text) {
  if (text == nullptr) return -1;
  long id = Find(text);
  if (id != -1) return id;
  // Texts that do not fit a block get a block of their own size rather than being cut,
  // so that two long texts never share an id.
  size_t length = std::strlen(text);
  std::unique_ptr<char[]> block(new char[std::max(kBlockSize, length + 1)]);
  std::memcpy(block.get(), text, length + 1);
  id = size();
  m_ids.emplace(std::string_view(block.get(), length), id);
  m_blocks.push_back(std::move(block));
  return id;
}

const char* CStringSoup::Find(long id) const {
  if (id < 0 || id >= size()) return nullptr;
  return m_blocks[id].get();
}

long CStringSoup::Find(const char* text) const {
  if (text == nullptr) return -1;
  auto found = m_ids.find(std::string_view(text));
  return found == m_ids.end() ? -1 : found->second;
}

void CStringSoup::Clear() {
  m_ids.clear();
  m_blocks.clear();
}

long CStringSoup::size() const { return static_cast<long>(m_blocks.size()); }
