#pragma once
// Flat interface to elements and controls, for callers that hold only a pointer.
// A null object answers 0, false or null; a null element counts as an orphan.

#include "foundation/ZPXExport.h"

class PPDXControl;
class PPDXElement;

ZPX_EXPORT const char* Keyword(PPDXElement* element);
ZPX_EXPORT const char* UserName(PPDXElement* element);
ZPX_EXPORT bool IsVisible(PPDXElement* element);
ZPX_EXPORT bool IsOrphan(PPDXElement* element);
ZPX_EXPORT PPDXElement* GetParent(PPDXElement* element);
ZPX_EXPORT bool EqualsElement(PPDXElement* element, PPDXElement* other);
ZPX_EXPORT bool EqualsKeyWord(PPDXElement* element, const char* keyword);

ZPX_EXPORT const char* GetFirstControlFlag(PPDXControl* control);
ZPX_EXPORT const char* GetNextControlFlag(PPDXControl* control);
ZPX_EXPORT long GetControlFlagCount(PPDXControl* control);
ZPX_EXPORT long GetPostScript(PPDXControl* control, unsigned char* out);
ZPX_EXPORT void ResetControlToDefault(PPDXControl* control);
ZPX_EXPORT bool IsCommandControl(PPDXControl* control);
ZPX_EXPORT bool IsSpoolerControl(PPDXControl* control);
ZPX_EXPORT bool IsNoNimboDriverUIControl(PPDXControl* control);
ZPX_EXPORT bool IsSetupControl(PPDXControl* control);
ZPX_EXPORT bool IsMacNJNControl(PPDXControl* control);
ZPX_EXPORT bool IsMacImgShiftControl(PPDXControl* control);
ZPX_EXPORT bool IsValidControlKeyword(PPDXControl* control, const char* keyword);
