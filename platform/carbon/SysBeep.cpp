#include "carbon/SysBeep.h"

#include <unistd.h>

#include "toolkit/ToolkitModel.h"

namespace {

UInt32 sBeeps = 0;

}  // namespace

void SysBeep(short) {
  ++sBeeps;
  if (ToolkitBackend* backend = ToolkitModel::Shared().mBackend) return backend->Beep();
  if (isatty(STDERR_FILENO)) (void)!write(STDERR_FILENO, "\a", 1);
}

UInt32 SysBeepCount() { return sBeeps; }
