#include "extension/PDEFactory.h"

#include <new>

#include "cf/CFRef.h"
#include "extension/PDEInterface.h"
#include "plugin/BundleFunctions.h"
#include "plugin/PDEBundle.h"

namespace {

// The first factory UUID the bundle declares for the type, or null.
CFUUIDRef CreateFactoryID(CFBundleRef bundle, CFUUIDRef typeUUID) {
  CFTypeRef types = CFBundleGetValueForInfoDictionaryKey(bundle, kCFPlugInTypesKey);
  if (types == nullptr || CFGetTypeID(types) != CFDictionaryGetTypeID() || typeUUID == nullptr)
    return nullptr;
  CFRef<CFStringRef> type(CFUUIDCreateString(kCFAllocatorDefault, typeUUID));
  CFTypeRef factories =
      type ? CFDictionaryGetValue(static_cast<CFDictionaryRef>(types), type.get()) : nullptr;
  if (factories == nullptr || CFGetTypeID(factories) != CFArrayGetTypeID() ||
      CFArrayGetCount(static_cast<CFArrayRef>(factories)) == 0)
    return nullptr;
  CFTypeRef first = CFArrayGetValueAtIndex(static_cast<CFArrayRef>(factories), 0);
  if (CFGetTypeID(first) != CFStringGetTypeID()) return nullptr;
  return CFUUIDCreateFromString(kCFAllocatorDefault, static_cast<CFStringRef>(first));
}

bool IsInterface(CFUUIDRef requested, const char* text) {
  CFRef<CFStringRef> string(
      CFStringCreateWithCString(kCFAllocatorDefault, text, kCFStringEncodingASCII));
  CFRef<CFUUIDRef> uuid(CFUUIDCreateFromString(kCFAllocatorDefault, string.get()));
  return CFEqual(requested, uuid.get());
}

}  // namespace

void* PrinterInfoPluginFactory(CFAllocatorRef, CFUUIDRef typeUUID) {
  CFRef<CFStringRef> identifier(CFStringCreateCopy(kCFAllocatorDefault, GetBundleID()));
  CFBundleRef bundle = MyGetBundle(identifier.get());
  CFUUIDRef factoryID = bundle != nullptr ? CreateFactoryID(bundle, typeUUID) : nullptr;
  if (factoryID == nullptr) return nullptr;
  PDEFactory* factory = new (std::nothrow) PDEFactory(factoryID);
  if (factory == nullptr) CFRelease(factoryID);
  return factory;
}

PDEFactory::PDEFactory(CFUUIDRef factoryID)
    : mTablePointer(&mTable),
      mTable{nullptr, QueryInterface, AddRef, Release},
      mFactoryID(factoryID) {
  CFPlugInAddInstanceForFactory(mFactoryID);
}

PDEFactory::~PDEFactory() {
  CFPlugInRemoveInstanceForFactory(mFactoryID);
  CFRelease(mFactoryID);
}

SInt32 PDEFactory::QueryInterface(void* instance, CFUUIDBytes interfaceID, void** result) {
  if (result == nullptr) return kPDENoInterface;
  *result = nullptr;
  CFRef<CFUUIDRef> requested(CFUUIDCreateFromUUIDBytes(kCFAllocatorDefault, interfaceID));
  if (IsInterface(requested.get(), kPDEBaseInterfaceID)) {
    AddRef(instance);
    *result = instance;
    return noErr;
  }
  if (IsInterface(requested.get(), kPDEDialogExtensionInterfaceID)) {
    *result = PDEInterface::Create();
    if (*result == nullptr) return memFullErr;
    return noErr;
  }
  return kPDENoInterface;
}

UInt32 PDEFactory::AddRef(void* instance) { return ++From(instance)->mCount; }

UInt32 PDEFactory::Release(void* instance) {
  PDEFactory* factory = From(instance);
  if (--factory->mCount > 0) return factory->mCount;
  delete factory;
  // No hold of the code's own keeps its bundle: the host's last release
  // unloads the code.
  MyFreeBundle(GetBundleID());
  PDEBundle::InitBundle(nullptr);
  return 0;
}
