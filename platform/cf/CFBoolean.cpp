#include "cf/CFNumber.h"
#include "cf/CFObject.h"

struct __CFBoolean : CFObject {
  explicit constexpr __CFBoolean(bool value) : CFObject(kCFObjectTypeBoolean, true), value(value) {}

  bool equals(const CFObject& other) const override {
    return value == static_cast<const __CFBoolean&>(other).value;
  }
  CFHashCode hash() const override { return value ? 1 : 0; }
  std::u16string description() const override { return value ? u"true" : u"false"; }

  const bool value;
};

namespace {
// Constant-initialised, so that they are ready before any other static object uses them.
const __CFBoolean trueValue(true);
const __CFBoolean falseValue(false);
}  // namespace

const CFBooleanRef kCFBooleanTrue = &trueValue;
const CFBooleanRef kCFBooleanFalse = &falseValue;

CFTypeID CFBooleanGetTypeID() { return kCFObjectTypeBoolean; }

Boolean CFBooleanGetValue(CFBooleanRef boolean) { return boolean && boolean->value; }
