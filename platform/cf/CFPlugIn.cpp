#include "cf/CFPlugIn.h"

#include <map>
#include <string>
#include <vector>

#include "cf/CFDictionary.h"
#include "cf/CFRef.h"
#include "cf/CFStringObject.h"

namespace {

// Live instances by the factory's UUID text.
std::map<std::string, CFIndex>& InstanceCounts() {
  static auto* counts = new std::map<std::string, CFIndex>;  // outlives static holders
  return *counts;
}

std::string FactoryKey(CFUUIDRef factoryID) {
  CFRef<CFStringRef> text(CFUUIDCreateString(kCFAllocatorDefault, factoryID));
  return text ? __CFString::utf8Of(text.get()) : std::string();
}

// The Info.plist dictionary of the plug-in under the key, or null.
CFDictionaryRef InfoDictionary(CFBundleRef plugIn, CFStringRef key) {
  CFTypeRef value = CFBundleGetValueForInfoDictionaryKey(plugIn, key);
  return value != nullptr && CFGetTypeID(value) == CFDictionaryGetTypeID()
             ? static_cast<CFDictionaryRef>(value)
             : nullptr;
}

// The factory UUID texts the plug-in declares for the type; null for none.
CFArrayRef DeclaredFactories(CFBundleRef plugIn, CFUUIDRef typeUUID) {
  CFDictionaryRef types = InfoDictionary(plugIn, kCFPlugInTypesKey);
  CFRef<CFStringRef> type(CFUUIDCreateString(kCFAllocatorDefault, typeUUID));
  CFTypeRef factories =
      types != nullptr && type ? CFDictionaryGetValue(types, type.get()) : nullptr;
  return factories != nullptr && CFGetTypeID(factories) == CFArrayGetTypeID()
             ? static_cast<CFArrayRef>(factories)
             : nullptr;
}

// The exported name of the factory's function in the plug-in; null when the
// plug-in does not declare it.
CFStringRef FactoryFunctionName(CFBundleRef plugIn, CFUUIDRef factory) {
  CFDictionaryRef factories = InfoDictionary(plugIn, kCFPlugInFactoriesKey);
  if (factories == nullptr) return nullptr;
  CFIndex count = CFDictionaryGetCount(factories);
  std::vector<const void*> keys(static_cast<size_t>(count)), values(static_cast<size_t>(count));
  CFDictionaryGetKeysAndValues(factories, keys.data(), values.data());
  for (CFIndex index = 0; index < count; ++index) {
    if (CFGetTypeID(keys[size_t(index)]) != CFStringGetTypeID() ||
        CFGetTypeID(values[size_t(index)]) != CFStringGetTypeID())
      continue;
    CFRef<CFUUIDRef> uuid(
        CFUUIDCreateFromString(kCFAllocatorDefault, static_cast<CFStringRef>(keys[size_t(index)])));
    if (uuid && CFEqual(uuid.get(), factory))
      return static_cast<CFStringRef>(values[size_t(index)]);
  }
  return nullptr;
}

}  // namespace

CFPlugInRef CFPlugInCreate(CFAllocatorRef allocator, CFURLRef plugInURL) {
  return CFBundleCreate(allocator, plugInURL);
}

CFBundleRef CFPlugInGetBundle(CFPlugInRef plugIn) { return plugIn; }

CFArrayRef CFPlugInFindFactoriesForPlugInTypeInPlugIn(CFUUIDRef typeUUID, CFPlugInRef plugIn) {
  if (typeUUID == nullptr || plugIn == nullptr) return nullptr;
  CFMutableArrayRef found = CFArrayCreateMutable(kCFAllocatorDefault, 0, &kCFTypeArrayCallBacks);
  CFArrayRef factories = DeclaredFactories(plugIn, typeUUID);
  for (CFIndex index = 0; factories != nullptr && index < CFArrayGetCount(factories); ++index) {
    CFTypeRef text = CFArrayGetValueAtIndex(factories, index);
    if (CFGetTypeID(text) != CFStringGetTypeID()) continue;
    CFRef<CFUUIDRef> uuid(
        CFUUIDCreateFromString(kCFAllocatorDefault, static_cast<CFStringRef>(text)));
    if (uuid) CFArrayAppendValue(found, uuid.get());
  }
  return found;
}

static bool DeclaresFactoryForType(CFPlugInRef plugIn, CFUUIDRef factory, CFUUIDRef typeUUID) {
  CFRef<CFArrayRef> factories(CFPlugInFindFactoriesForPlugInTypeInPlugIn(typeUUID, plugIn));
  return factories &&
         CFArrayContainsValue(factories.get(), CFRangeMake(0, CFArrayGetCount(factories.get())),
                              factory);
}

void* CFPlugInInstanceCreate(CFAllocatorRef allocator, CFUUIDRef factoryUUID, CFUUIDRef typeUUID) {
  if (factoryUUID == nullptr || typeUUID == nullptr) return nullptr;
  CFArrayRef plugIns = CFBundleGetAllBundles();
  for (CFIndex index = 0; index < CFArrayGetCount(plugIns); ++index) {
    CFBundleRef plugIn =
        static_cast<CFBundleRef>(const_cast<void*>(CFArrayGetValueAtIndex(plugIns, index)));
    CFStringRef name = FactoryFunctionName(plugIn, factoryUUID);
    if (name == nullptr || !DeclaresFactoryForType(plugIn, factoryUUID, typeUUID)) continue;
    auto function =
        reinterpret_cast<CFPlugInFactoryFunction>(CFBundleGetFunctionPointerForName(plugIn, name));
    return function != nullptr ? function(allocator, typeUUID) : nullptr;
  }
  return nullptr;
}

void CFPlugInAddInstanceForFactory(CFUUIDRef factoryID) {
  if (factoryID != nullptr) ++InstanceCounts()[FactoryKey(factoryID)];
}

void CFPlugInRemoveInstanceForFactory(CFUUIDRef factoryID) {
  if (factoryID == nullptr) return;
  auto count = InstanceCounts().find(FactoryKey(factoryID));
  if (count == InstanceCounts().end()) return;
  if (--count->second == 0) InstanceCounts().erase(count);
}

CFIndex CFPlugInGetInstanceCountForFactory(CFUUIDRef factoryID) {
  if (factoryID == nullptr) return 0;
  auto count = InstanceCounts().find(FactoryKey(factoryID));
  return count != InstanceCounts().end() ? count->second : 0;
}
