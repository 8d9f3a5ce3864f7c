#include "carbon/SysBeep.h"

#include <unistd.h>

namespace {

UInt32 sBeeps = 0;

}  // namespace

void SysBeep(short) {
  ++sBeeps;
  if (isatty(STDERR_FILENO)) (void)!write(STDERR_FILENO, "\a", 1);
}

UInt32 SysBeepCount() { return sBeeps; }
