#pragma once
// Flat interface to boolean controls, for callers that hold only a pointer. A null
// control answers 0, false or null, and setting it does nothing.

#include "foundation/ZPXExport.h"

class PPDXBooleanControl;

ZPX_EXPORT void SetValue(PPDXBooleanControl* control, bool value);
ZPX_EXPORT long BooleanPostScript(PPDXBooleanControl* control, unsigned char* out);
ZPX_EXPORT bool DefaultState(PPDXBooleanControl* control);
ZPX_EXPORT bool IsTrue(PPDXBooleanControl* control);
ZPX_EXPORT const char* TrueDisplayText(PPDXBooleanControl* control);
ZPX_EXPORT const char* FalseDisplayText(PPDXBooleanControl* control);
