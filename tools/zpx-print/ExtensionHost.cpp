#include "ExtensionHost.h"

#include <string>

#include "comm/ServedPrinters.h"
#include "cf/CFFileURL.h"
#include "paths/PlatformPaths.h"
#include "plugin/PDEIdentity.h"

namespace {

CFUUIDRef CreateUUID(const char* text) {
  CFRef<CFStringRef> string(
      CFStringCreateWithCString(kCFAllocatorDefault, text, kCFStringEncodingASCII));
  return CFUUIDCreateFromString(kCFAllocatorDefault, string.get());
}

PrintFailure SlotFailed(const char* slot, OSStatus status) {
  return PrintFailure::NoJob(std::string(slot) + " answered " + std::to_string(status));
}

}  // namespace

ExtensionHost::ExtensionHost() {
  CFRef<CFURLRef> url(CreateFileURL(PlatformPaths::Get(PlatformPaths::kBundleFolder), true));
  if (url) mPlugIn = CFPlugInCreate(kCFAllocatorDefault, url.get());
}

ExtensionHost::~ExtensionHost() {
  if (mPlugIn != nullptr) CFRelease(mPlugIn);
}

CFStringRef ExtensionHost::BundleIdentifier() const {
  return mPlugIn != nullptr ? CFBundleGetIdentifier(CFPlugInGetBundle(mPlugIn)) : nullptr;
}

bool ExtensionHost::Serves(const std::string& ppdPath) const {
  if (mPlugIn == nullptr) return false;
  CFRef<CFURLRef> bundle(CFBundleCopyBundleURL(CFPlugInGetBundle(mPlugIn)));
  return ServedPrinters(bundle.get()).Serves(ppdPath);
}

PrintFailure ExtensionHost::Run(PMPrintSession session, HostDialog& dialog) {
  if (mPlugIn == nullptr) return PrintFailure::NoJob("cannot load the dialog extension's bundle");
  CFRef<CFUUIDRef> type(CreateUUID(kPDEPlugInTypeID));
  CFRef<CFArrayRef> factories(CFPlugInFindFactoriesForPlugInTypeInPlugIn(type.get(), mPlugIn));
  if (!factories || CFArrayGetCount(factories.get()) == 0)
    return PrintFailure::NoJob("the bundle declares no dialog extension");
  CFUUIDRef factoryID = static_cast<CFUUIDRef>(CFArrayGetValueAtIndex(factories.get(), 0));
  auto* factory = static_cast<PDEFactoryInstance*>(
      CFPlugInInstanceCreate(kCFAllocatorDefault, factoryID, type.get()));
  if (factory == nullptr) return PrintFailure::NoJob("the bundle's factory made nothing");
  CFRef<CFUUIDRef> interface(CreateUUID(kPDEDialogExtensionInterfaceID));
  void* object = nullptr;
  SInt32 status =
      factory->mTable->QueryInterface(factory, CFUUIDGetUUIDBytes(interface.get()), &object);
  PrintFailure failure = status == noErr && object != nullptr
                             ? Drive(static_cast<PDEInterfaceObject*>(object), session, dialog)
                             : SlotFailed("QueryInterface", status);
  factory->mTable->Release(factory);
  return failure;
}

PrintFailure ExtensionHost::Drive(PDEInterfaceObject* object, PMPrintSession session,
                                  HostDialog& dialog) {
  const PDEInterfaceTable& slots = *object->mTable;
  PrintFailure failure;
  PDEAPIVersion version;
  OSStatus status = slots.Retain(object);
  if (status == noErr) status = slots.GetAPIVersion(object, &version);
  PDEContext context = nullptr;
  OSType creator = 0;
  CFStringRef kind = nullptr, title = nullptr;
  UInt32 width = 0, height = 0;
  if (status == noErr) status = slots.Prologue(&context, &creator, &kind, &title, &width, &height);
  if (kind != nullptr) CFRelease(kind);
  if (status == noErr && dialog.Pane() != nullptr) dialog.SizePane(width, height);
  failure =
      status == noErr ? Lifecycle(slots, context, session, dialog) : SlotFailed("Prologue", status);
  // The dialog's hold from QueryInterface and the one Retain added.
  PDEInterfaceObject* held = object;
  slots.Release(&held);
  held = object;
  slots.Release(&held);
  return failure;
}

PrintFailure ExtensionHost::Lifecycle(const PDEInterfaceTable& slots, PDEContext context,
                                      PMPrintSession session, HostDialog& dialog) {
  PDEFlags flags = 0;
  PrintFailure failure;
  OSStatus status = slots.Initialize(context, &flags, nullptr, dialog.Pane(), session);
  if (status != noErr) {
    failure = SlotFailed("Initialize", status);
  } else {
    slots.Open(context);
    if (dialog.UserPrints()) {
      status = slots.Sync(context, session, false);
      if (status != noErr) failure = SlotFailed("Sync", status);
    } else {
      status = userCanceledErr;
      failure = PrintFailure::NoJob("cancelled: no job written");
    }
    slots.Close(context);
  }
  slots.Terminate(context, status);
  return failure;
}
