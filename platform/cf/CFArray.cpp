#include "cf/CFArray.h"

#include <vector>

#include "cf/CFObject.h"
#include "cf/CFRangeClip.h"
#include "cf/CFTypeCallBacks.h"

const CFArrayCallBacks kCFTypeArrayCallBacks = {0, CFTypeRetainCallBack, CFTypeReleaseCallBack,
                                                CFCopyDescription, CFTypeEqualCallBack};

struct __CFArray : CFObject {
  __CFArray(const CFArrayCallBacks* callBacks, bool isMutable)
      : CFObject(kCFObjectTypeArray),
        callBacks(callBacks ? *callBacks : CFArrayCallBacks{0, nullptr, nullptr, nullptr, nullptr}),
        isMutable(isMutable) {}
  ~__CFArray() override {
    for (const void* value : values) release(value);
  }

  const void* retain(const void* value) const {
    return callBacks.retain ? callBacks.retain(nullptr, value) : value;
  }
  void release(const void* value) const {
    if (callBacks.release) callBacks.release(nullptr, value);
  }
  bool same(const void* first, const void* second) const {
    return first == second || (callBacks.equal && callBacks.equal(first, second));
  }
  CFIndex count() const { return static_cast<CFIndex>(values.size()); }

  bool equals(const CFObject& other) const override {
    const __CFArray& array = static_cast<const __CFArray&>(other);
    if (values.size() != array.values.size()) return false;
    for (size_t i = 0; i < values.size(); ++i)
      if (!same(values[i], array.values[i])) return false;
    return true;
  }
  CFHashCode hash() const override { return values.size(); }
  std::u16string description() const override;

  const CFArrayCallBacks callBacks;
  const bool isMutable;
  std::vector<const void*> values;
};

std::u16string __CFArray::description() const {
  std::u16string text = u"(";
  for (size_t i = 0; i < values.size(); ++i) {
    if (i > 0) text += u", ";
    text += CFDescribeValue(values[i], callBacks.copyDescription);
  }
  return text + u")";
}

namespace {

__CFArray* makeArray(const void** values, CFIndex count, const CFArrayCallBacks* callBacks,
                     bool isMutable) {
  __CFArray* array = new __CFArray(callBacks, isMutable);
  for (CFIndex i = 0; values && i < count; ++i) array->values.push_back(array->retain(values[i]));
  return array;
}

__CFArray* copyArray(CFArrayRef array, bool isMutable) {
  if (!array) return makeArray(nullptr, 0, &kCFTypeArrayCallBacks, isMutable);
  return makeArray(const_cast<const void**>(array->values.data()), array->count(),
                   &array->callBacks, isMutable);
}

bool isIndex(CFArrayRef array, CFIndex index, CFIndex end) {
  return array && index >= 0 && index < end;
}

}  // namespace

CFTypeID CFArrayGetTypeID() { return kCFObjectTypeArray; }

CFArrayRef CFArrayCreateCopy(CFAllocatorRef, CFArrayRef array) { return copyArray(array, false); }

CFMutableArrayRef CFArrayCreateMutable(CFAllocatorRef, CFIndex, const CFArrayCallBacks* callBacks) {
  return makeArray(nullptr, 0, callBacks, true);
}

CFMutableArrayRef CFArrayCreateMutableCopy(CFAllocatorRef, CFIndex, CFArrayRef array) {
  return copyArray(array, true);
}

CFIndex CFArrayGetCount(CFArrayRef array) { return array ? array->count() : 0; }

const void* CFArrayGetValueAtIndex(CFArrayRef array, CFIndex index) {
  return isIndex(array, index, CFArrayGetCount(array)) ? array->values[static_cast<size_t>(index)]
                                                       : nullptr;
}

CFIndex CFArrayGetFirstIndexOfValue(CFArrayRef array, CFRange range, const void* value) {
  CFRange clipped = CFRangeClip(range, CFArrayGetCount(array));
  for (CFIndex i = clipped.location; i < clipped.location + clipped.length; ++i)
    if (array->same(array->values[static_cast<size_t>(i)], value)) return i;
  return kCFNotFound;
}

Boolean CFArrayContainsValue(CFArrayRef array, CFRange range, const void* value) {
  return CFArrayGetFirstIndexOfValue(array, range, value) != kCFNotFound;
}

void CFArrayAppendValue(CFMutableArrayRef array, const void* value) {
  CFArrayInsertValueAtIndex(array, CFArrayGetCount(array), value);
}

void CFArrayInsertValueAtIndex(CFMutableArrayRef array, CFIndex index, const void* value) {
  if (!isIndex(array, index, CFArrayGetCount(array) + 1) || !array->isMutable) return;
  array->values.insert(array->values.begin() + index, array->retain(value));
}

void CFArraySetValueAtIndex(CFMutableArrayRef array, CFIndex index, const void* value) {
  if (!isIndex(array, index, CFArrayGetCount(array) + 1) || !array->isMutable) return;
  if (index == array->count()) {
    array->values.push_back(array->retain(value));
    return;
  }
  const void* old = array->values[static_cast<size_t>(index)];
  array->values[static_cast<size_t>(index)] = array->retain(value);
  array->release(old);
}

void CFArrayRemoveValueAtIndex(CFMutableArrayRef array, CFIndex index) {
  if (!isIndex(array, index, CFArrayGetCount(array)) || !array->isMutable) return;
  const void* old = array->values[static_cast<size_t>(index)];
  array->values.erase(array->values.begin() + index);
  array->release(old);
}
