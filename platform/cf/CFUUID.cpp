#include "cf/CFUUID.h"

#include <sys/random.h>

#include <array>
#include <cstring>
#include <map>
#include <mutex>
#include <random>

#include "cf/CFCharacters.h"
#include "cf/CFObject.h"
#include "cf/CFString.h"
#include "cf/CFStringObject.h"

namespace {
typedef std::array<UInt8, 16> UUIDValue;
}  // namespace

struct __CFUUID : CFObject {
  explicit __CFUUID(const UUIDValue& bytes) : CFObject(kCFObjectTypeUUID), bytes(bytes) {}

  bool equals(const CFObject& other) const override {
    return bytes == static_cast<const __CFUUID&>(other).bytes;
  }
  CFHashCode hash() const override { return CFObjectHashBytes(bytes.data(), bytes.size()); }
  std::u16string description() const override;

  const UUIDValue bytes;
};

std::u16string __CFUUID::description() const {
  static const char hexDigits[] = "0123456789ABCDEF";
  std::u16string text;
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (i == 4 || i == 6 || i == 8 || i == 10) text += u'-';
    text += static_cast<char16_t>(hexDigits[bytes[i] >> 4]);
    text += static_cast<char16_t>(hexDigits[bytes[i] & 15]);
  }
  return text;
}

namespace {

UUIDValue valueOf(const CFUUIDBytes& bytes) {
  UUIDValue value;
  std::memcpy(value.data(), &bytes, value.size());
  return value;
}

CFUUIDBytes bytesOf(UInt8 b0, UInt8 b1, UInt8 b2, UInt8 b3, UInt8 b4, UInt8 b5, UInt8 b6, UInt8 b7,
                    UInt8 b8, UInt8 b9, UInt8 b10, UInt8 b11, UInt8 b12, UInt8 b13, UInt8 b14,
                    UInt8 b15) {
  return CFUUIDBytes{b0, b1, b2, b3, b4, b5, b6, b7, b8, b9, b10, b11, b12, b13, b14, b15};
}

void fillRandom(UUIDValue& value) {
  size_t filled = 0;
  while (filled < value.size()) {
    ssize_t count = getrandom(value.data() + filled, value.size() - filled, 0);
    if (count <= 0) break;
    filled += static_cast<size_t>(count);
  }
  if (filled < value.size()) {
    std::random_device device;
    for (UInt8& byte : value) byte = static_cast<UInt8>(device());
  }
}

}  // namespace

CFUUIDRef CFUUIDCreate(CFAllocatorRef) {
  UUIDValue value;
  fillRandom(value);
  value[6] = static_cast<UInt8>((value[6] & 0x0F) | 0x40);
  value[8] = static_cast<UInt8>((value[8] & 0x3F) | 0x80);
  return new __CFUUID(value);
}

CFUUIDRef CFUUIDCreateFromUUIDBytes(CFAllocatorRef, CFUUIDBytes bytes) {
  return new __CFUUID(valueOf(bytes));
}

CFUUIDRef CFUUIDCreateFromString(CFAllocatorRef, CFStringRef uuidString) {
  std::u16string_view text = __CFString::textOf(uuidString);
  if (text.size() != 36) return nullptr;
  UUIDValue value;
  size_t byte = 0;
  for (size_t i = 0; i < text.size(); i += 2) {
    if (i == 8 || i == 13 || i == 18 || i == 23) {
      if (text[i] != u'-') return nullptr;
      ++i;
    }
    int high = CFHexDigitValue(text[i]);
    int low = CFHexDigitValue(text[i + 1]);
    if (high < 0 || low < 0) return nullptr;
    value[byte++] = static_cast<UInt8>(high * 16 + low);
  }
  return new __CFUUID(value);
}

CFStringRef CFUUIDCreateString(CFAllocatorRef allocator, CFUUIDRef uuid) {
  if (!uuid) return nullptr;
  std::u16string text = uuid->description();
  return CFStringCreateWithCharacters(allocator, reinterpret_cast<const UniChar*>(text.data()),
                                      static_cast<CFIndex>(text.size()));
}

CFUUIDRef CFUUIDGetConstantUUIDWithBytes(CFAllocatorRef, UInt8 byte0, UInt8 byte1, UInt8 byte2,
                                         UInt8 byte3, UInt8 byte4, UInt8 byte5, UInt8 byte6,
                                         UInt8 byte7, UInt8 byte8, UInt8 byte9, UInt8 byte10,
                                         UInt8 byte11, UInt8 byte12, UInt8 byte13, UInt8 byte14,
                                         UInt8 byte15) {
  static std::mutex lock;
  // Never destroyed: constants outlive every other object.
  static auto* constants = new std::map<UUIDValue, CFUUIDRef>();
  UUIDValue value = valueOf(bytesOf(byte0, byte1, byte2, byte3, byte4, byte5, byte6, byte7, byte8,
                                    byte9, byte10, byte11, byte12, byte13, byte14, byte15));
  std::lock_guard<std::mutex> guard(lock);
  CFUUIDRef& constant = (*constants)[value];
  if (!constant) {
    __CFUUID* uuid = new __CFUUID(value);
    uuid->makeConstant();
    constant = uuid;
  }
  return constant;
}

CFUUIDBytes CFUUIDGetUUIDBytes(CFUUIDRef uuid) {
  CFUUIDBytes bytes{};
  if (uuid != nullptr) std::memcpy(&bytes, uuid->bytes.data(), sizeof bytes);
  return bytes;
}
