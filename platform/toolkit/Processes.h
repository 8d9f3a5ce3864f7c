#pragma once
// The running process and which process is in front.

#include "carbon/MacTypes.h"

struct ProcessSerialNumber {
  UInt32 highLongOfPSN;
  UInt32 lowLongOfPSN;
};
enum : UInt32 { kNoProcess = 0, kCurrentProcess = 2 };

OSErr GetCurrentProcess(ProcessSerialNumber* outProcess);
OSErr SetFrontProcess(const ProcessSerialNumber* process);
// Not a call of the platform's, for tests: whether this process was brought to
// the front.
Boolean CurrentProcessIsFrontForTesting();
