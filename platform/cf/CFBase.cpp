#include "cf/CFBase.h"

#include <cstdio>

#include "cf/CFObject.h"
#include "cf/CFStringObject.h"

const CFAllocatorRef kCFAllocatorDefault = nullptr;
const CFAllocatorRef kCFAllocatorSystemDefault = nullptr;

CFTypeRef CFRetain(CFTypeRef object) {
  if (object) CFObject::from(object)->retain();
  return object;
}

void CFRelease(CFTypeRef object) {
  if (object && CFObject::from(object)->release()) delete CFObject::from(object);
}

Boolean CFEqual(CFTypeRef object1, CFTypeRef object2) {
  if (object1 == object2) return true;
  if (!object1 || !object2) return false;
  const CFObject* first = CFObject::from(object1);
  const CFObject* second = CFObject::from(object2);
  return first->typeID() == second->typeID() && first->equals(*second);
}

CFHashCode CFHash(CFTypeRef object) { return object ? CFObject::from(object)->hash() : 0; }

CFTypeID CFGetTypeID(CFTypeRef object) { return object ? CFObject::from(object)->typeID() : 0; }

CFStringRef CFCopyDescription(CFTypeRef object) {
  if (!object) return nullptr;
  std::u16string text = CFObject::from(object)->description();
  return CFStringCreateWithCharacters(kCFAllocatorDefault,
                                      reinterpret_cast<const UniChar*>(text.data()),
                                      static_cast<CFIndex>(text.size()));
}
