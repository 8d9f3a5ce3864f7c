#include "ExtensionHost.h"

#include <string>

#include "paths/PlatformPaths.h"
#include "toolkit/Controls.h"
#include "toolkit/MacWindows.h"

namespace {

CFUUIDRef CreateUUID(const char* text) {
  CFRef<CFStringRef> string(CFStringCreateWithCString(kCFAllocatorDefault, text, kCFStringEncodingASCII));
  return CFUUIDCreateFromString(kCFAllocatorDefault, string.get());
}

PrintFailure SlotFailed(const char* slot, OSStatus status) {
  return PrintFailure::NoJob(std::string(slot) + " answered " + std::to_string(status));
}

// The window the print dialog would show, with the user pane it gives the extension.
class HiddenDialog {
 public:
  HiddenDialog() {
    Rect bounds = {100, 100, 500, 700};
    Rect paneBounds = {0, 0, 200, 525};
    if (CreateNewWindow(kDocumentWindowClass, kWindowNoAttributes, &bounds, &mWindow) != noErr)
      mWindow = nullptr;
    ControlRef root = nullptr;
    if (mWindow != nullptr && (CreateRootControl(mWindow, &root) != noErr ||
                               CreateUserPaneControl(mWindow, &paneBounds, 0, &mPane) != noErr))
      mPane = nullptr;
  }
  ~HiddenDialog() {
    if (mWindow != nullptr) DisposeWindow(mWindow);
  }
  HiddenDialog(const HiddenDialog&) = delete;
  HiddenDialog& operator=(const HiddenDialog&) = delete;
  ControlRef Pane() const { return mPane; }

 private:
  WindowRef mWindow = nullptr;
  ControlRef mPane = nullptr;
};

}  // namespace

ExtensionHost::ExtensionHost() {
  std::string folder = PlatformPaths::Get(PlatformPaths::kBundleFolder);
  CFRef<CFURLRef> url(CFURLCreateFromFileSystemRepresentation(
      kCFAllocatorDefault, reinterpret_cast<const UInt8*>(folder.c_str()), CFIndex(folder.size()), true));
  if (url) mPlugIn = CFPlugInCreate(kCFAllocatorDefault, url.get());
}

ExtensionHost::~ExtensionHost() {
  if (mPlugIn != nullptr) CFRelease(mPlugIn);
}

CFStringRef ExtensionHost::BundleIdentifier() const {
  return mPlugIn != nullptr ? CFBundleGetIdentifier(CFPlugInGetBundle(mPlugIn)) : nullptr;
}

PrintFailure ExtensionHost::Run(PMPrintSession session) {
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
  SInt32 status = factory->mTable->QueryInterface(factory, CFUUIDGetUUIDBytes(interface.get()), &object);
  PrintFailure failure = status == noErr && object != nullptr
                             ? Drive(static_cast<PDEInterfaceObject*>(object), session)
                             : SlotFailed("QueryInterface", status);
  factory->mTable->Release(factory);
  return failure;
}

PrintFailure ExtensionHost::Drive(PDEInterfaceObject* object, PMPrintSession session) {
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
  failure = status == noErr ? Lifecycle(slots, context, session) : SlotFailed("Prologue", status);
  // The dialog's hold from QueryInterface and the one Retain added.
  PDEInterfaceObject* held = object;
  slots.Release(&held);
  held = object;
  slots.Release(&held);
  return failure;
}

PrintFailure ExtensionHost::Lifecycle(const PDEInterfaceTable& slots, PDEContext context,
                                      PMPrintSession session) {
  HiddenDialog dialog;
  PDEFlags flags = 0;
  PrintFailure failure;
  OSStatus status = slots.Initialize(context, &flags, nullptr, dialog.Pane(), session);
  if (status != noErr) {
    failure = SlotFailed("Initialize", status);
  } else {
    slots.Open(context);
    status = slots.Sync(context, session, false);
    if (status != noErr) failure = SlotFailed("Sync", status);
    slots.Close(context);
  }
  slots.Terminate(context, status);
  return failure;
}
