#pragma once
// Ranges that callers pass are clipped to the object they address, so that no
// range, however wrong, reads or writes outside it.

#include "cf/CFBase.h"

CFRange CFRangeClip(CFRange range, CFIndex count);
