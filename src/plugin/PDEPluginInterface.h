#pragma once
/* The binary interface between a print dialog and this plug-in, shared by the
   bundle's code and the hosts that load it. Plain C: tables of function slots
   that either side may call without knowing the other's language.

   Loading: the host makes the bundle a plug-in, finds the factories of
   kPDEPlugInTypeID, creates an instance of one (the factory function answers
   a PDEFactoryInstance*) and asks it through QueryInterface for the
   dialog-extension interface (a PDEInterfaceObject*). */

#include "carbon/MacTypes.h"
#include "cf/CoreFoundation.h"
#include "print/PMPrintSession.h"
#include "toolkit/Controls.h"

#ifdef __cplusplus
extern "C" {
#endif

/* The plug-in type of dialog extensions that hosts of ours look for. */
#define kPDEPlugInTypeID "FB272160-67D3-459D-94D7-3C1095B9AF46"
/* The interfaces a factory instance answers. */
#define kPDEBaseInterfaceID "00000000-0000-0000-C000-000000000046"
#define kPDEDialogExtensionInterfaceID "A996FD7E-B738-11D3-8519-0050E4603277"
/* QueryInterface's status for any other interface. */
#define kPDENoInterface ((SInt32)0x80000004)
/* A slot's status for a missing or unusable context. */
#define kPDEInvalidContext ((OSStatus)-9530)

typedef struct PDEFactoryTable PDEFactoryTable;
/* The instance a factory makes: its first member points at its table. */
typedef struct PDEFactoryInstance {
  const PDEFactoryTable* mTable;
} PDEFactoryInstance;

struct PDEFactoryTable {
  void* mReserved;
  /* kPDEBaseInterfaceID: the instance itself, its count raised by one.
     kPDEDialogExtensionInterfaceID: a new PDEInterfaceObject with count 1, the
     caller's to release. Both with status 0; anything else: null and
     kPDENoInterface. */
  SInt32 (*QueryInterface)(void* instance, CFUUIDBytes interfaceID, void** result);
  /* The new count. */
  UInt32 (*AddRef)(void* instance);
  /* The remaining count; the instance goes at 0. */
  UInt32 (*Release)(void* instance);
};

typedef void* PDEContext;
typedef void* PDEReference;
typedef UInt32 PDEFlags;

typedef struct PDEAPIVersion {
  UInt32 mBuildMajor;
  UInt32 mBuildMinor;
  UInt32 mBaseMajor;
  UInt32 mBaseMinor;
} PDEAPIVersion;

typedef struct PDEInterfaceObject PDEInterfaceObject;

/* The ten slots of the dialog-extension interface, in their order. Status
   results are 0 on success. */
typedef struct PDEInterfaceTable {
  /* Raises the count; loads the plug-in's interface-builder file for every
     object of the process once. */
  OSStatus (*Retain)(PDEInterfaceObject* object);
  /* Clears the caller's pointer and lowers the count; the object goes at 0. */
  OSStatus (*Release)(PDEInterfaceObject** object);
  OSStatus (*GetAPIVersion)(PDEInterfaceObject* object, PDEAPIVersion* version);
  /* Makes the extension. The kind is a new string, the caller's to release;
     the title stays the extension's (valid until Terminate). */
  OSStatus (*Prologue)(PDEContext* context, OSType* creator, CFStringRef* kind, CFStringRef* title,
                       UInt32* maximumWidth, UInt32* maximumHeight);
  OSStatus (*Initialize)(PDEContext context, PDEFlags* flags, PDEReference reference,
                         ControlRef parentUserPane, PMPrintSession session);
  OSStatus (*Sync)(PDEContext context, PMPrintSession session, Boolean reinitialize);
  /* Both arrays are new, the caller's to release, or null when there is no line. */
  OSStatus (*GetSummaryText)(PDEContext context, CFArrayRef* titles, CFArrayRef* summaries);
  OSStatus (*Open)(PDEContext context);
  OSStatus (*Close)(PDEContext context);
  /* Ends the extension; the context is gone afterwards. */
  OSStatus (*Terminate)(PDEContext context, OSStatus status);
} PDEInterfaceTable;

struct PDEInterfaceObject {
  PDEInterfaceTable* mTable;
  UInt32 mCount;
};

#ifdef __cplusplus
}
#endif
