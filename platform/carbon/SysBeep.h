#pragma once
// The system alert sound: a bell on the terminal, when there is one.

#include "carbon/MacTypes.h"

void SysBeep(short duration);
// How often the process sounded it. Not a call of the platform's: tests read
// whether a beep was sounded.
UInt32 SysBeepCount();
