#pragma once
// The dialog-extension interface object that the factory instance hands out:
// its ten slots drive one ProjectPDE through Prologue ... Terminate. The
// object and its table are one allocation.

#include "plugin/PDEPluginInterface.h"
#include "toolkit/IBCarbonRuntime.h"

class PDEInterface {
 public:
  static constexpr UInt32 kVersionMajor = 1;
  static constexpr UInt32 kVersionMinor = 0;

  // A new object with count 1; null when it cannot be made.
  static PDEInterfaceObject* Create();
  // Whether the interface-builder file that Retain loads for all objects is loaded.
  static bool IsSharedNibLoaded() { return sSharedNib != nullptr; }

 private:
  static OSStatus Retain(PDEInterfaceObject* object);
  static OSStatus Release(PDEInterfaceObject** object);
  static OSStatus GetAPIVersion(PDEInterfaceObject* object, PDEAPIVersion* version);
  static OSStatus Prologue(PDEContext* context, OSType* creator, CFStringRef* kind,
                           CFStringRef* title, UInt32* maximumWidth, UInt32* maximumHeight);
  static OSStatus Initialize(PDEContext context, PDEFlags* flags, PDEReference reference,
                             ControlRef parentUserPane, PMPrintSession session);
  static OSStatus Sync(PDEContext context, PMPrintSession session, Boolean reinitialize);
  static OSStatus GetSummaryText(PDEContext context, CFArrayRef* titles, CFArrayRef* summaries);
  static OSStatus Open(PDEContext context);
  static OSStatus Close(PDEContext context);
  static OSStatus Terminate(PDEContext context, OSStatus status);

  static IBNibRef sSharedNib;
};
