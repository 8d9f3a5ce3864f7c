#pragma once
// The plug-in's factory and the instance it makes: the base interface of the
// plug-in (QueryInterface, AddRef, Release), counted, registered with the
// platform as an instance of its factory while it lives. Its last release
// lets go of the cached and the default bundle.

#include "foundation/ZPXExport.h"
#include "plugin/PDEPluginInterface.h"

// The factory instance for the plug-in type, or null when the bundle does not
// declare a factory for that type.
ZPX_EXPORT void* PrinterInfoPluginFactory(CFAllocatorRef allocator, CFUUIDRef typeUUID);

class PDEFactory {
 public:
  // Count 1; takes the factory UUID (owned).
  explicit PDEFactory(CFUUIDRef factoryID);
  PDEFactory(const PDEFactory&) = delete;
  PDEFactory& operator=(const PDEFactory&) = delete;

  static PDEFactory* From(void* instance) { return static_cast<PDEFactory*>(instance); }
  UInt32 Count() const { return mCount; }

 private:
  ~PDEFactory();
  static SInt32 QueryInterface(void* instance, CFUUIDBytes interfaceID, void** result);
  static UInt32 AddRef(void* instance);
  static UInt32 Release(void* instance);

  // First: the instance is a PDEFactoryInstance to the host.
  const PDEFactoryTable* mTablePointer;
  PDEFactoryTable mTable;
  CFUUIDRef mFactoryID;
  UInt32 mCount = 1;
};
