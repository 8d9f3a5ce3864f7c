// A stand-in dialog extension for the host's tests: its Sync names, as the job's
// PostScript data file, whatever path ZPX_TEST_HANDOVER gives (none: no item),
// so that the host meets data files the real extension never writes.

#include <cstdlib>
#include <new>

#include "cf/CFRef.h"
#include "plugin/PDEPluginInterface.h"
#include "plugin/SessionFunctions.h"

namespace {

#define kIdentifier "com.zpx.test.handover"

struct Object {
  PDEInterfaceObject mObject;
  PDEInterfaceTable mTable;
};

OSStatus Retain(PDEInterfaceObject* object) {
  ++object->mCount;
  return noErr;
}

OSStatus Release(PDEInterfaceObject** object) {
  PDEInterfaceObject* released = *object;
  *object = nullptr;
  if (--released->mCount == 0) delete reinterpret_cast<Object*>(released);
  return noErr;
}

OSStatus Version(PDEInterfaceObject*, PDEAPIVersion* version) {
  *version = {1, 0, 1, 0};
  return noErr;
}

OSStatus Prologue(PDEContext* context, OSType*, CFStringRef* kind, CFStringRef*, UInt32*, UInt32*) {
  static int sContext;
  *context = &sContext;
  *kind = CFStringCreateWithCString(nullptr, kIdentifier, kCFStringEncodingUTF8);
  return noErr;
}

OSStatus Initialize(PDEContext, PDEFlags* flags, PDEReference, ControlRef, PMPrintSession) {
  *flags = 0;
  return noErr;
}

OSStatus Sync(PDEContext, PMPrintSession session, Boolean) {
  const char* path = std::getenv("ZPX_TEST_HANDOVER");
  PMTicketRef settings = nullptr;
  if (path == nullptr || MyGetTicket(session, kPDE_PMPrintSettingsRef, settings) != noErr)
    return noErr;
  CFRef<CFStringRef> value(CFStringCreateWithCString(nullptr, path, kCFStringEncodingUTF8));
  return PMTicketSetCFString(settings, CFSTR(kIdentifier), CFSTR("ZPX.PSData." kIdentifier),
                             value.get(), false);
}

OSStatus Summary(PDEContext, CFArrayRef*, CFArrayRef*) { return noErr; }
OSStatus Nothing(PDEContext) { return noErr; }
OSStatus Terminate(PDEContext, OSStatus) { return noErr; }

SInt32 QueryInterface(void*, CFUUIDBytes, void** result) {
  Object* object = new Object;
  object->mTable = {Retain, Release, Version, Prologue, Initialize,
                    Sync,   Summary, Nothing, Nothing,  Terminate};
  object->mObject = {&object->mTable, 1};
  *result = &object->mObject;
  return noErr;
}

UInt32 Count(void*) { return 1; }

const PDEFactoryTable kFactoryTable = {nullptr, QueryInterface, Count, Count};
PDEFactoryInstance sFactory = {&kFactoryTable};

}  // namespace

extern "C" __attribute__((visibility("default"))) void* HandoverFactory(CFAllocatorRef, CFUUIDRef) {
  return &sFactory;
}
