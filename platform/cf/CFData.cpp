#include "cf/CFData.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "cf/CFObject.h"
#include "cf/CFRangeClip.h"

struct __CFData : CFObject {
  explicit __CFData(bool isMutable) : CFObject(kCFObjectTypeData), isMutable(isMutable) {}

  bool equals(const CFObject& other) const override {
    return bytes == static_cast<const __CFData&>(other).bytes;
  }
  CFHashCode hash() const override { return CFObjectHashBytes(bytes.data(), bytes.size()); }
  std::u16string description() const override;

  std::vector<UInt8> bytes;
  const bool isMutable;
};

std::u16string __CFData::description() const {
  static const char hexDigits[] = "0123456789abcdef";
  std::u16string text = u"<";
  for (UInt8 byte : bytes) {
    text += static_cast<char16_t>(hexDigits[byte >> 4]);
    text += static_cast<char16_t>(hexDigits[byte & 15]);
  }
  return text + u">";
}

namespace {

__CFData* makeData(bool isMutable, const UInt8* bytes, CFIndex length) {
  __CFData* data = new __CFData(isMutable);
  if (bytes && length > 0) data->bytes.assign(bytes, bytes + length);
  return data;
}

}  // namespace

CFTypeID CFDataGetTypeID() { return kCFObjectTypeData; }

CFDataRef CFDataCreate(CFAllocatorRef, const UInt8* bytes, CFIndex length) {
  return makeData(false, bytes, length);
}

CFMutableDataRef CFDataCreateMutable(CFAllocatorRef, CFIndex) { return makeData(true, nullptr, 0); }

CFMutableDataRef CFDataCreateMutableCopy(CFAllocatorRef, CFIndex, CFDataRef data) {
  return makeData(true, CFDataGetBytePtr(data), CFDataGetLength(data));
}

CFIndex CFDataGetLength(CFDataRef data) {
  return data ? static_cast<CFIndex>(data->bytes.size()) : 0;
}

const UInt8* CFDataGetBytePtr(CFDataRef data) { return data ? data->bytes.data() : nullptr; }

void CFDataAppendBytes(CFMutableDataRef data, const UInt8* bytes, CFIndex length) {
  if (data && data->isMutable && bytes && length > 0)
    data->bytes.insert(data->bytes.end(), bytes, bytes + length);
}
