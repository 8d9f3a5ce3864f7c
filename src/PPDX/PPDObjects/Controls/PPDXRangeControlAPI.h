#pragma once
// Flat interface to range controls, for callers that hold only a pointer. A null
// control answers 0, and setting it does nothing.

#include "foundation/ZPXExport.h"

class PPDXRangeControl;

ZPX_EXPORT void SetRangeValue(PPDXRangeControl* control, long value);
ZPX_EXPORT long RangePostScript(PPDXRangeControl* control, unsigned char* out);
ZPX_EXPORT long GetRangeValue(PPDXRangeControl* control);
ZPX_EXPORT long GetRangeDefaultVal(PPDXRangeControl* control);
ZPX_EXPORT long GetRangeIncrement(PPDXRangeControl* control);
ZPX_EXPORT long GetRangeMinimum(PPDXRangeControl* control);
ZPX_EXPORT long GetRangeMaximum(PPDXRangeControl* control);
