#include "cf/CFNumber.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

#include "cf/CFObject.h"

namespace {

// The stored type of each type a caller may name.
CFNumberType canonicalType(CFNumberType type) {
  switch (type) {
    case kCFNumberSInt8Type:
    case kCFNumberCharType:
      return kCFNumberSInt8Type;
    case kCFNumberSInt16Type:
    case kCFNumberShortType:
      return kCFNumberSInt16Type;
    case kCFNumberSInt32Type:
    case kCFNumberIntType:
      return sizeof(int) == 4 ? kCFNumberSInt32Type : kCFNumberSInt64Type;
    case kCFNumberSInt64Type:
    case kCFNumberLongType:
    case kCFNumberLongLongType:
    case kCFNumberCFIndexType:
      return kCFNumberSInt64Type;
    case kCFNumberFloat32Type:
    case kCFNumberFloatType:
      return kCFNumberFloat32Type;
    case kCFNumberFloat64Type:
    case kCFNumberDoubleType:
      return kCFNumberFloat64Type;
    default:
      return 0;
  }
}

bool isFloatType(CFNumberType canonical) {
  return canonical == kCFNumberFloat32Type || canonical == kCFNumberFloat64Type;
}

// True when `value` has no fraction and lies in the range of SInt64.
bool isIntegral(double value, SInt64& integer) {
  if (!(value >= -0x1p63 && value < 0x1p63) || std::trunc(value) != value) return false;
  integer = static_cast<SInt64>(value);
  return true;
}

template <typename Integer>
bool storeInteger(SInt64 value, void* out) {
  SInt64 low = std::numeric_limits<Integer>::min();
  SInt64 high = std::numeric_limits<Integer>::max();
  Integer stored = static_cast<Integer>(value < low ? low : value > high ? high : value);
  std::memcpy(out, &stored, sizeof stored);
  return value >= low && value <= high;
}

template <typename Integer>
Integer loadInteger(const void* in) {
  Integer value;
  std::memcpy(&value, in, sizeof value);
  return value;
}

}  // namespace

struct __CFNumber : CFObject {
  explicit __CFNumber(CFNumberType type) : CFObject(kCFObjectTypeNumber), type(type) {}

  bool isFloat() const { return isFloatType(type); }

  bool equals(const CFObject& other) const override {
    return CFNumberCompare(this, static_cast<const __CFNumber*>(&other), nullptr) ==
           kCFCompareEqualTo;
  }
  CFHashCode hash() const override {
    SInt64 integral = integer;
    if (isFloat() && !isIntegral(real, integral)) return CFObjectHashBytes(&real, sizeof real);
    return static_cast<CFHashCode>(integral) * 2654435761u;
  }
  std::u16string description() const override {
    char text[64];
    auto end = isFloat() ? std::to_chars(text, text + sizeof text, real).ptr
                         : std::to_chars(text, text + sizeof text, integer).ptr;
    return std::u16string(text, end);
  }

  const CFNumberType type;
  SInt64 integer = 0;
  double real = 0.0;
};

CFTypeID CFNumberGetTypeID() { return kCFObjectTypeNumber; }

CFNumberRef CFNumberCreate(CFAllocatorRef, CFNumberType type, const void* valuePtr) {
  CFNumberType canonical = canonicalType(type);
  if (!valuePtr || canonical == 0) return nullptr;
  __CFNumber* number = new __CFNumber(canonical);
  switch (canonical) {
    case kCFNumberSInt8Type:
      number->integer = loadInteger<SInt8>(valuePtr);
      break;
    case kCFNumberSInt16Type:
      number->integer = loadInteger<SInt16>(valuePtr);
      break;
    case kCFNumberSInt32Type:
      number->integer = loadInteger<SInt32>(valuePtr);
      break;
    case kCFNumberSInt64Type:
      number->integer = loadInteger<SInt64>(valuePtr);
      break;
    case kCFNumberFloat32Type:
      number->real = loadInteger<float>(valuePtr);
      break;
    case kCFNumberFloat64Type:
      number->real = loadInteger<double>(valuePtr);
      break;
  }
  return number;
}

Boolean CFNumberIsFloatType(CFNumberRef number) { return number && number->isFloat(); }

Boolean CFNumberGetValue(CFNumberRef number, CFNumberType type, void* valuePtr) {
  CFNumberType target = canonicalType(type);
  if (!number || !valuePtr || target == 0) return false;
  if (isFloatType(target)) {
    double value = number->isFloat() ? number->real : static_cast<double>(number->integer);
    bool exact =
        number->isFloat() || (value < 0x1p63 && static_cast<SInt64>(value) == number->integer);
    if (target == kCFNumberFloat64Type) {
      std::memcpy(valuePtr, &value, sizeof value);
      return exact;
    }
    float narrowed = static_cast<float>(value);
    std::memcpy(valuePtr, &narrowed, sizeof narrowed);
    return exact && (static_cast<double>(narrowed) == value || std::isnan(value));
  }
  SInt64 integer = number->integer;
  bool exact = !number->isFloat() || isIntegral(number->real, integer);
  if (!exact && number->isFloat()) {
    double real = std::isnan(number->real) ? 0.0 : std::trunc(number->real);
    integer = real >= 0x1p63   ? std::numeric_limits<SInt64>::max()
              : real < -0x1p63 ? std::numeric_limits<SInt64>::min()
                               : static_cast<SInt64>(real);
  }
  switch (target) {
    case kCFNumberSInt8Type:
      return storeInteger<SInt8>(integer, valuePtr) && exact;
    case kCFNumberSInt16Type:
      return storeInteger<SInt16>(integer, valuePtr) && exact;
    case kCFNumberSInt32Type:
      return storeInteger<SInt32>(integer, valuePtr) && exact;
    default:
      return storeInteger<SInt64>(integer, valuePtr) && exact;
  }
}

CFComparisonResult CFNumberCompare(CFNumberRef number, CFNumberRef otherNumber, void*) {
  auto order = [](auto first, auto second) {
    return first < second   ? kCFCompareLessThan
           : second < first ? kCFCompareGreaterThan
                            : kCFCompareEqualTo;
  };
  if (!number->isFloat() && !otherNumber->isFloat())
    return order(number->integer, otherNumber->integer);
  // A real that is a whole number compares exactly with an integer.
  SInt64 first = number->integer, second = otherNumber->integer;
  bool firstWhole = !number->isFloat() || isIntegral(number->real, first);
  bool secondWhole = !otherNumber->isFloat() || isIntegral(otherNumber->real, second);
  if (firstWhole && secondWhole) return order(first, second);
  double firstReal = number->isFloat() ? number->real : static_cast<double>(number->integer);
  double secondReal =
      otherNumber->isFloat() ? otherNumber->real : static_cast<double>(otherNumber->integer);
  return order(firstReal, secondReal);
}
