#include "registry/IOKitLib.h"

#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "cf/CFRef.h"
#include "cf/CFText.h"
#include "registry/IONetworkKeys.h"
#include "registry/NetworkAdapters.h"

namespace {

struct RegistryEntry {
  const char* className;
  CFRef<CFMutableDictionaryRef> properties;
  int parent;  // place in the snapshot; -1 for none
};

// The registry as it was read for one matching; the objects handed out keep
// their snapshot alive.
using Snapshot = std::vector<RegistryEntry>;

struct RegistryObject {
  std::shared_ptr<const Snapshot> snapshot;
  int entry;                 // -1 for an iterator
  std::vector<int> matches;  // an iterator's entries, in order
  size_t next = 0;
};

std::map<io_object_t, RegistryObject>& Objects() {
  static std::map<io_object_t, RegistryObject> objects;
  return objects;
}

io_object_t Publish(RegistryObject object) {
  static io_object_t lastNumber = IO_OBJECT_NULL;
  auto& objects = Objects();
  do {
    ++lastNumber;
  } while (lastNumber == IO_OBJECT_NULL || objects.count(lastNumber) != 0);
  objects.emplace(lastNumber, std::move(object));
  return lastNumber;
}

RegistryObject* Find(io_object_t number) {
  auto found = Objects().find(number);
  return found != Objects().end() ? &found->second : nullptr;
}

CFMutableDictionaryRef NewProperties() {
  return CFDictionaryCreateMutable(kCFAllocatorDefault, 0, &kCFTypeDictionaryKeyCallBacks,
                                   &kCFTypeDictionaryValueCallBacks);
}

void AddAdapter(Snapshot& snapshot, const NetworkAdapter& adapter, bool primary) {
  CFRef<CFMutableDictionaryRef> controller(NewProperties());
  CFRef<CFDataRef> address(
      CFDataCreate(kCFAllocatorDefault, adapter.hardwareAddress.data(), kIOEthernetAddressSize));
  CFDictionarySetValue(controller.get(), CFSTR(kIOMACAddress), address.get());
  snapshot.push_back({kIOEthernetControllerClass, std::move(controller), -1});

  CFRef<CFMutableDictionaryRef> interface(NewProperties());
  CFDictionarySetValue(interface.get(), CFSTR(kIOPrimaryInterface),
                       primary ? kCFBooleanTrue : kCFBooleanFalse);
  CFRef<CFStringRef> name(CreateText(adapter.name));
  if (name) CFDictionarySetValue(interface.get(), CFSTR(kIOBSDNameKey), name.get());
  snapshot.push_back({kIOEthernetInterfaceClass, std::move(interface), int(snapshot.size()) - 1});
}

std::shared_ptr<const Snapshot> ReadRegistry() {
  auto snapshot = std::make_shared<Snapshot>();
  const std::string primary = NetworkAdapters::Primary().name;
  for (const NetworkAdapter& adapter : NetworkAdapters::List()) {
    if (adapter.hasHardwareAddress && !adapter.loopback)
      AddAdapter(*snapshot, adapter, !primary.empty() && adapter.name == primary);
  }
  return snapshot;
}

bool ClassMatches(const RegistryEntry& entry, CFTypeRef wanted) {
  if (wanted == nullptr) return true;
  if (CFGetTypeID(wanted) != CFStringGetTypeID()) return false;
  CFRef<CFStringRef> className(
      CFStringCreateWithCString(kCFAllocatorDefault, entry.className, kCFStringEncodingUTF8));
  return CFEqual(className.get(), wanted);
}

bool PropertiesMatch(const RegistryEntry& entry, CFTypeRef wanted) {
  if (wanted == nullptr) return true;
  if (CFGetTypeID(wanted) != CFDictionaryGetTypeID()) return false;
  auto dictionary = static_cast<CFDictionaryRef>(wanted);
  const CFIndex count = CFDictionaryGetCount(dictionary);
  std::vector<const void*> keys(static_cast<size_t>(count)), values(static_cast<size_t>(count));
  CFDictionaryGetKeysAndValues(dictionary, keys.data(), values.data());
  for (CFIndex i = 0; i < count; ++i) {
    const void* have = CFDictionaryGetValue(entry.properties.get(), keys[size_t(i)]);
    if (have == nullptr || !CFEqual(have, values[size_t(i)])) return false;
  }
  return true;
}

bool Matches(const RegistryEntry& entry, CFDictionaryRef matching) {
  return ClassMatches(entry, CFDictionaryGetValue(matching, CFSTR(kIOProviderClassKey))) &&
         PropertiesMatch(entry, CFDictionaryGetValue(matching, CFSTR(kIOPropertyMatchKey)));
}

}  // namespace

CFMutableDictionaryRef IOServiceMatching(const char* name) {
  if (name == nullptr) return nullptr;
  CFRef<CFStringRef> className(
      CFStringCreateWithCString(kCFAllocatorDefault, name, kCFStringEncodingUTF8));
  if (!className) return nullptr;
  CFMutableDictionaryRef matching = NewProperties();
  CFDictionarySetValue(matching, CFSTR(kIOProviderClassKey), className.get());
  return matching;
}

kern_return_t IOServiceGetMatchingServices(mach_port_t, CFDictionaryRef matching,
                                           io_iterator_t* existing) {
  CFRef<CFDictionaryRef> consumed(matching);
  if (!consumed || existing == nullptr || CFGetTypeID(matching) != CFDictionaryGetTypeID())
    return kIOReturnBadArgument;
  RegistryObject iterator{ReadRegistry(), -1, {}};
  for (size_t place = 0; place < iterator.snapshot->size(); ++place)
    if (Matches((*iterator.snapshot)[place], matching)) iterator.matches.push_back(int(place));
  *existing = Publish(std::move(iterator));
  return KERN_SUCCESS;
}

io_object_t IOIteratorNext(io_iterator_t number) {
  RegistryObject* iterator = Find(number);
  if (iterator == nullptr || iterator->entry != -1 || iterator->next >= iterator->matches.size())
    return IO_OBJECT_NULL;
  const int entry = iterator->matches[iterator->next++];
  return Publish(RegistryObject{iterator->snapshot, entry, {}});
}

kern_return_t IORegistryEntryGetParentEntry(io_registry_entry_t number, const io_name_t plane,
                                            io_registry_entry_t* parent) {
  const RegistryObject* object = Find(number);
  if (object == nullptr || object->entry < 0 || parent == nullptr || plane == nullptr)
    return KERN_INVALID_ARGUMENT;
  if (std::strcmp(plane, kIOServicePlane) != 0) return kIOReturnBadArgument;
  const int place = (*object->snapshot)[size_t(object->entry)].parent;
  if (place < 0) return kIOReturnNoDevice;
  *parent = Publish(RegistryObject{object->snapshot, place, {}});
  return KERN_SUCCESS;
}

CFTypeRef IORegistryEntryCreateCFProperty(io_registry_entry_t number, CFStringRef key,
                                          CFAllocatorRef, IOOptionBits) {
  const RegistryObject* object = Find(number);
  if (object == nullptr || object->entry < 0 || key == nullptr) return nullptr;
  const void* value =
      CFDictionaryGetValue((*object->snapshot)[size_t(object->entry)].properties.get(), key);
  return value != nullptr ? CFRetain(value) : nullptr;
}

kern_return_t IOObjectRelease(io_object_t number) {
  // Nothing retains an object, so its one reference is the caller's.
  return Objects().erase(number) != 0 ? KERN_SUCCESS : KERN_INVALID_ARGUMENT;
}
