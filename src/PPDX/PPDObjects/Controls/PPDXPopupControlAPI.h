#pragma once
// Flat interface to popup controls, for callers that hold only a pointer. A null
// control answers 0, false or null.

#include "cf/CoreFoundation.h"
#include "foundation/ZPXExport.h"

class PPDXPopupControl;

// One choice as FirstItem and NextItem report it; the texts belong to the control.
struct PopupItemInfo {
  const char* keyword;
  CFStringRef displayName;
};

ZPX_EXPORT const char* GetKeywordLocalName(PPDXPopupControl* control, const char* keyword);
ZPX_EXPORT long GetKeywordPSData(PPDXPopupControl* control, const char* keyword,
                                 unsigned char* out);
ZPX_EXPORT bool IsKeywordSelected(PPDXPopupControl* control, const char* keyword);
ZPX_EXPORT bool SetKeywordSelect(PPDXPopupControl* control, const char* keyword, bool select);
// Clear `info`, step the item cursor and fill `info` from the item; false at the end.
ZPX_EXPORT bool FirstItem(PPDXPopupControl* control, PopupItemInfo* info);
ZPX_EXPORT bool NextItem(PPDXPopupControl* control, PopupItemInfo* info);
ZPX_EXPORT long PopupPostScript(PPDXPopupControl* control, unsigned char* out);
ZPX_EXPORT long GetPopupValue(PPDXPopupControl* control);
ZPX_EXPORT void SetPopupValue(PPDXPopupControl* control, long position);
ZPX_EXPORT long GetPopupDefaultValue(PPDXPopupControl* control);
ZPX_EXPORT bool CanSelectMultipleItems(PPDXPopupControl* control);
ZPX_EXPORT long PopupItemCount(PPDXPopupControl* control);
ZPX_EXPORT const char* GetDefaultKeyword(PPDXPopupControl* control);
