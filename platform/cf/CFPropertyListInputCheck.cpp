#include "cf/CFPropertyListInputCheck.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

uint64_t readBigEndian(const uint8_t* bytes, size_t width) {
  uint64_t value = 0;
  for (size_t i = 0; i < width; ++i) value = (value << 8) | bytes[i];
  return value;
}

// The framing of a binary list: its trailer, offset table and the references
// that arrays, sets and dictionaries hold.
class BinaryLayout {
 public:
  BinaryLayout(const uint8_t* bytes, size_t length) : bytes_(bytes), length_(length) {}

  bool readTrailer() {
    if (length_ < 8 + 32) return false;
    const uint8_t* trailer = bytes_ + length_ - 32;
    offsetSize_ = trailer[6];
    referenceSize_ = trailer[7];
    count_ = readBigEndian(trailer + 8, 8);
    top_ = readBigEndian(trailer + 16, 8);
    tableOffset_ = readBigEndian(trailer + 24, 8);
    size_t tableRoom = length_ - 32;
    return offsetSize_ >= 1 && offsetSize_ <= 8 && referenceSize_ >= 1 && referenceSize_ <= 8 &&
           count_ >= 1 && top_ < count_ && tableOffset_ >= 8 && tableOffset_ <= tableRoom &&
           count_ <= (tableRoom - tableOffset_) / offsetSize_;
  }

  uint64_t count() const { return count_; }
  uint64_t top() const { return top_; }

  // The objects a container refers to (none for other objects); false when
  // the object or its references lie outside the list, or a dictionary key is
  // not a plain string.
  bool references(uint64_t object, std::vector<uint64_t>& found) {
    found.clear();
    uint64_t offset = 0;
    if (!objectOffset(object, offset)) return false;
    uint8_t marker = bytes_[offset];
    uint8_t kind = marker >> 4;
    bool isContainer = kind == 0xA || kind == 0xB || kind == 0xC || kind == 0xD;
    if (!isContainer) return true;
    uint64_t position = offset + 1;
    uint64_t entries = marker & 0x0F;
    if (entries == 0x0F && !readCount(position, entries)) return false;
    uint64_t referenceCount = kind == 0xD ? entries * 2 : entries;
    if (entries > tableOffset_ || referenceCount > (tableOffset_ - position) / referenceSize_)
      return false;
    for (uint64_t i = 0; i < referenceCount; ++i) {
      uint64_t reference = readBigEndian(bytes_ + position + i * referenceSize_, referenceSize_);
      if (reference >= count_ || (kind == 0xD && i < entries && !isPlainKey(reference)))
        return false;
      found.push_back(reference);
    }
    return true;
  }

 private:
  bool objectOffset(uint64_t object, uint64_t& offset) const {
    offset = readBigEndian(bytes_ + tableOffset_ + object * offsetSize_, offsetSize_);
    return offset >= 8 && offset < tableOffset_;
  }

  // The parser aborts on a dictionary key that holds a NUL character, so keys
  // must be 8-bit or UTF-16 strings without one. Each key is checked once.
  bool isPlainKey(uint64_t object) {
    if (checkedKeys_.empty()) checkedKeys_.resize(count_, KeyState::unchecked);
    if (checkedKeys_[object] == KeyState::unchecked)
      checkedKeys_[object] = hasNoNul(object) ? KeyState::plain : KeyState::refused;
    return checkedKeys_[object] == KeyState::plain;
  }

  bool hasNoNul(uint64_t object) const {
    uint64_t offset = 0;
    if (!objectOffset(object, offset)) return false;
    uint8_t kind = bytes_[offset] >> 4;
    if (kind != 0x5 && kind != 0x6) return false;
    uint64_t position = offset + 1;
    uint64_t length = bytes_[offset] & 0x0F;
    if (length == 0x0F && !readCount(position, length)) return false;
    size_t unit = kind == 0x6 ? 2 : 1;
    if (length > (tableOffset_ - position) / unit) return false;
    for (uint64_t i = 0; i < length; ++i) {
      const uint8_t* character = bytes_ + position + i * unit;
      if (character[0] == 0 && (unit == 1 || character[1] == 0)) return false;
    }
    return true;
  }

  // A count too large for the marker's low bits follows as an integer object.
  bool readCount(uint64_t& position, uint64_t& count) const {
    if (position >= tableOffset_ || (bytes_[position] & 0xF0) != 0x10) return false;
    size_t width = size_t(1) << (bytes_[position] & 0x0F);
    if (width > 8 || width > tableOffset_ - position - 1) return false;
    count = readBigEndian(bytes_ + position + 1, width);
    position += 1 + width;
    return true;
  }

  const uint8_t* bytes_;
  size_t length_;
  size_t offsetSize_ = 0;
  size_t referenceSize_ = 0;
  uint64_t count_ = 0;
  uint64_t top_ = 0;
  uint64_t tableOffset_ = 0;
  enum class KeyState : uint8_t { unchecked, plain, refused };
  std::vector<KeyState> checkedKeys_;
};

struct ObjectShape {
  enum State : uint8_t { unseen, open, done } state = unseen;
  int height = 0;
  uint64_t expandedCount = 0;
};

struct Frame {
  uint64_t object;
  std::vector<uint64_t> references;
  size_t next = 0;
};

// Folds a finished child into its parent's shape.
void addChild(ObjectShape& parent, const ObjectShape& child) {
  parent.height = std::max(parent.height, child.height + 1);
  parent.expandedCount = std::min(parent.expandedCount + child.expandedCount,
                                  CFPropertyListInputCheck::kMaximumObjects + 1);
}

}  // namespace

bool CFPropertyListInputCheck::isBinary(const uint8_t* bytes, size_t length) {
  return length >= 8 && std::memcmp(bytes, "bplist0", 7) == 0;
}

bool CFPropertyListInputCheck::isAcceptableBinary(const uint8_t* bytes, size_t length) {
  BinaryLayout layout(bytes, length);
  if (!layout.readTrailer()) return false;
  std::vector<ObjectShape> shapes(layout.count());
  std::vector<Frame> stack(1);
  stack.back().object = layout.top();
  if (!layout.references(layout.top(), stack.back().references)) return false;
  shapes[layout.top()] = {ObjectShape::open, 1, 1};
  while (!stack.empty()) {
    Frame& frame = stack.back();
    if (frame.next == frame.references.size()) {
      shapes[frame.object].state = ObjectShape::done;
      uint64_t finished = frame.object;
      stack.pop_back();
      if (!stack.empty()) addChild(shapes[stack.back().object], shapes[finished]);
      continue;
    }
    uint64_t child = frame.references[frame.next++];
    ObjectShape& shape = shapes[child];
    if (shape.state == ObjectShape::open) return false;  // a cycle
    if (shape.state == ObjectShape::done) {
      addChild(shapes[frame.object], shape);
      continue;
    }
    if (stack.size() >= static_cast<size_t>(kMaximumDepth)) return false;
    shape = {ObjectShape::open, 1, 1};
    Frame next;
    next.object = child;
    if (!layout.references(child, next.references)) return false;
    stack.push_back(std::move(next));
  }
  const ObjectShape& top = shapes[layout.top()];
  return top.height <= kMaximumDepth && top.expandedCount <= kMaximumObjects;
}

bool CFPropertyListInputCheck::isAcceptableXML(const uint8_t* bytes, size_t length) {
  const char* text = reinterpret_cast<const char*>(bytes);
  // XML has no NUL characters; the parser would stop at one.
  if (std::memchr(bytes, 0, length)) return false;
  int depth = 0;
  for (size_t i = 0; i < length; ++i) {
    if (text[i] != '<') continue;
    bool closing = i + 1 < length && text[i + 1] == '/';
    size_t nameStart = i + (closing ? 2 : 1);
    size_t nameEnd = nameStart;
    while (nameEnd < length && std::strchr(" \t\r\n/>", text[nameEnd]) == nullptr) ++nameEnd;
    std::string name(text + nameStart, text + nameEnd);
    if (name != "array" && name != "dict") continue;
    if (closing) {
      --depth;
      continue;
    }
    size_t tagEnd = std::find(text + nameEnd, text + length, '>') - text;
    bool selfClosing = tagEnd < length && text[tagEnd - 1] == '/';
    if (!selfClosing && ++depth > kMaximumDepth) return false;
  }
  return true;
}
