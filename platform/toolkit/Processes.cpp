#include "toolkit/Processes.h"

#include "carbon/MacErrors.h"
#include "toolkit/ToolkitModel.h"

namespace {

bool sFront = false;

}  // namespace

OSErr GetCurrentProcess(ProcessSerialNumber* outProcess) {
  if (!outProcess) return paramErr;
  *outProcess = {0, kCurrentProcess};
  return noErr;
}

OSErr SetFrontProcess(const ProcessSerialNumber* process) {
  if (!process || process->highLongOfPSN != 0 || process->lowLongOfPSN != kCurrentProcess)
    return paramErr;  // the only process the stand-in knows is this one
  sFront = true;
  if (ToolkitBackend* backend = ToolkitModel::Shared().mBackend) backend->ComeToFront();
  return noErr;
}

Boolean CurrentProcessIsFrontForTesting() { return sFront; }
