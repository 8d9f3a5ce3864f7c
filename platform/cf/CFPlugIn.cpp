#include "cf/CFPlugIn.h"

#include <map>
#include <string>

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

}  // namespace

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
