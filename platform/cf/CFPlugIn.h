#pragma once
// Plug-in instance counting: a plug-in's factory records each instance it
// makes and each one that goes, so that the platform knows when the plug-in's
// code is no longer in use.

#include "cf/CFBase.h"
#include "cf/CFUUID.h"

void CFPlugInAddInstanceForFactory(CFUUIDRef factoryID);
// Ignored for a factory without live instances.
void CFPlugInRemoveInstanceForFactory(CFUUIDRef factoryID);
// The live instances of the factory. Not a call of the platform's: hosts and
// tests read the count that the platform keeps to itself.
CFIndex CFPlugInGetInstanceCountForFactory(CFUUIDRef factoryID);
