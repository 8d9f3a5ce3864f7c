#pragma once
// Flat interface to the shortcut list, for callers that hold only a pointer. A
// null list answers 0 or null, and counts as empty.

#include "foundation/ZPXExport.h"

class PPDXPopupControl;
class PPDXShortcuts;

ZPX_EXPORT PPDXPopupControl* FindShortcut(PPDXShortcuts* shortcuts, const char* keyword,
                                          bool exact);
ZPX_EXPORT PPDXPopupControl* FirstShortcut(PPDXShortcuts* shortcuts);
ZPX_EXPORT PPDXPopupControl* NextShortcut(PPDXShortcuts* shortcuts);
ZPX_EXPORT unsigned long GetShortcutCount(PPDXShortcuts* shortcuts);
ZPX_EXPORT bool IsShortcutsListEmpty(PPDXShortcuts* shortcuts);

ZPX_EXPORT PPDXPopupControl* GetInputSlotShortcut(PPDXShortcuts* shortcuts);
ZPX_EXPORT PPDXPopupControl* GetDuplexShortcut(PPDXShortcuts* shortcuts);
ZPX_EXPORT PPDXPopupControl* GetPageSizeShortcut(PPDXShortcuts* shortcuts);
ZPX_EXPORT PPDXPopupControl* GetOrientationShortcut(PPDXShortcuts* shortcuts);
ZPX_EXPORT PPDXPopupControl* GetMediaSourceShortcut(PPDXShortcuts* shortcuts);
ZPX_EXPORT PPDXPopupControl* GetTintoraShortcut(PPDXShortcuts* shortcuts);
