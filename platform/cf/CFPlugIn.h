#pragma once
// Plug-ins: bundles whose Info.plist declares factories ("CFPlugInFactories":
// factory UUID -> exported function name) and the types each makes
// ("CFPlugInTypes": type UUID -> [factory UUID ...]). A factory is a function
// `void* Factory(CFAllocatorRef, CFUUIDRef typeUUID)` that answers an instance
// of the type. A plug-in's factory records each instance it makes and each one
// that goes, so that the platform knows when the plug-in's code is in use.

#include "cf/CFArray.h"
#include "cf/CFBase.h"
#include "cf/CFBundle.h"
#include "cf/CFURL.h"
#include "cf/CFUUID.h"

typedef struct __CFBundle* CFPlugInRef;
typedef void* (*CFPlugInFactoryFunction)(CFAllocatorRef allocator, CFUUIDRef typeUUID);

#define kCFPlugInFactoriesKey CFSTR("CFPlugInFactories")
#define kCFPlugInTypesKey CFSTR("CFPlugInTypes")

// The plug-in of the bundle folder (a bundle, held once by the caller); its
// factories become known while it lives. NULL as for CFBundleCreate.
CFPlugInRef CFPlugInCreate(CFAllocatorRef allocator, CFURLRef plugInURL);
CFBundleRef CFPlugInGetBundle(CFPlugInRef plugIn);
// The factories the plug-in declares for the type, as UUIDs in a new array
// (empty when it declares none); NULL without a plug-in or type.
CFArrayRef CFPlugInFindFactoriesForPlugInTypeInPlugIn(CFUUIDRef typeUUID, CFPlugInRef plugIn);
// Loads the code of the live plug-in that declares the factory for the type,
// and answers what its factory function makes; NULL when no live plug-in
// declares that factory for that type, or its code or function is missing.
void* CFPlugInInstanceCreate(CFAllocatorRef allocator, CFUUIDRef factoryUUID, CFUUIDRef typeUUID);

void CFPlugInAddInstanceForFactory(CFUUIDRef factoryID);
// Ignored for a factory without live instances.
void CFPlugInRemoveInstanceForFactory(CFUUIDRef factoryID);
// The live instances of the factory. Not a call of the platform's: hosts and
// tests read the count that the platform keeps to itself.
CFIndex CFPlugInGetInstanceCountForFactory(CFUUIDRef factoryID);
