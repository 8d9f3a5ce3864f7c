#include "toolkit/Gestalt.h"

#include "toolkit/ToolkitErrors.h"

OSErr Gestalt(OSType selector, SInt32* response) {
  if (!response) return paramErr;
  if (selector != gestaltSystemVersionMinor) return gestaltUndefSelectorErr;
  *response = kHeadlessSystemVersionMinor;
  return noErr;
}
