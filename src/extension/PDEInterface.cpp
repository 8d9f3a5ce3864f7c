#include "extension/PDEInterface.h"

#include <new>

#include "cf/CFRef.h"
#include "extension/ProjectPDE.h"
#include "plugin/BundleFunctions.h"
#include "toolkit/IBCarbonRuntime.h"

IBNibRef PDEInterface::sSharedNib = nullptr;

namespace {

// The object and its table, allocated and freed together.
struct InterfaceBlock {
  PDEInterfaceObject mObject;
  PDEInterfaceTable mTable;
};

ProjectPDE* ExtensionOf(PDEContext context) { return static_cast<ProjectPDE*>(context); }

}  // namespace

PDEInterfaceObject* PDEInterface::Create() {
  InterfaceBlock* block = new (std::nothrow) InterfaceBlock;
  if (block == nullptr) return nullptr;
  block->mTable = {Retain, Release,        GetAPIVersion, Prologue, Initialize,
                   Sync,   GetSummaryText, Open,          Close,    Terminate};
  block->mObject.mTable = &block->mTable;
  block->mObject.mCount = 1;
  return &block->mObject;
}

OSStatus PDEInterface::Retain(PDEInterfaceObject* object) {
  if (object == nullptr) return paramErr;
  ++object->mCount;
  if (sSharedNib != nullptr) return noErr;
  CFRef<CFStringRef> nibName(CreateNIBFileName());
  if (!nibName) return memFullErr;
  return CreateNibReferenceWithCFBundle(MyGetBundle(GetBundleID()), nibName.get(), &sSharedNib);
}

OSStatus PDEInterface::Release(PDEInterfaceObject** object) {
  if (object == nullptr || *object == nullptr) return paramErr;
  PDEInterfaceObject* released = *object;
  *object = nullptr;
  if (--released->mCount > 0) return noErr;
  if (sSharedNib != nullptr) DisposeNibReference(sSharedNib);
  sSharedNib = nullptr;
  // The object is the first member of its block.
  delete reinterpret_cast<InterfaceBlock*>(released);
  return noErr;
}

OSStatus PDEInterface::GetAPIVersion(PDEInterfaceObject*, PDEAPIVersion* version) {
  if (version == nullptr) return paramErr;
  *version = {kVersionMajor, kVersionMinor, kVersionMajor, kVersionMinor};
  return noErr;
}

OSStatus PDEInterface::Prologue(PDEContext* context, OSType* creator, CFStringRef* kind,
                                CFStringRef* title, UInt32* maximumWidth, UInt32* maximumHeight) {
  if (context == nullptr) return kPDEInvalidContext;
  ProjectPDE* extension = new (std::nothrow) ProjectPDE;
  if (extension == nullptr || !extension->IsValid()) {
    delete extension;
    *context = nullptr;
    return kPDEInvalidContext;
  }
  *context = extension;
  UInt32 width = 0, height = 0;
  ProjectPDE::PaneSize(width, height);
  if (maximumWidth != nullptr) *maximumWidth = width;
  if (maximumHeight != nullptr) *maximumHeight = height;
  if (title != nullptr) *title = extension->Title();
  if (kind != nullptr) *kind = CFStringCreateCopy(kCFAllocatorDefault, GetBundleID());
  if (creator != nullptr) GetCreatorID(*creator);
  return noErr;
}

OSStatus PDEInterface::Initialize(PDEContext context, PDEFlags* flags, PDEReference reference,
                                  ControlRef parentUserPane, PMPrintSession session) {
  if (context == nullptr || !ExtensionOf(context)->IsValid()) return kPDEInvalidContext;
  return ExtensionOf(context)->Initialize(flags, reference, parentUserPane, session);
}

OSStatus PDEInterface::Sync(PDEContext context, PMPrintSession session, Boolean reinitialize) {
  if (context == nullptr) return kPDEInvalidContext;
  return ExtensionOf(context)->Sync(session, reinitialize);
}

OSStatus PDEInterface::GetSummaryText(PDEContext context, CFArrayRef* titles,
                                      CFArrayRef* summaries) {
  if (context == nullptr) return kPDEInvalidContext;
  return ExtensionOf(context)->GetSummaryText(titles, summaries);
}

OSStatus PDEInterface::Open(PDEContext context) {
  if (context == nullptr) return kPDEInvalidContext;
  return ExtensionOf(context)->Open();
}

OSStatus PDEInterface::Close(PDEContext context) {
  if (context == nullptr) return kPDEInvalidContext;
  return ExtensionOf(context)->Close();
}

OSStatus PDEInterface::Terminate(PDEContext context, OSStatus) {
  if (context == nullptr) return kPDEInvalidContext;
  delete ExtensionOf(context);
  return noErr;
}
