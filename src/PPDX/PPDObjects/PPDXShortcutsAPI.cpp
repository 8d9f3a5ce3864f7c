#include "PPDX/PPDObjects/PPDXShortcutsAPI.h"

#include "PPDX/PPDObjects/PPDXShortcuts.h"

PPDXPopupControl* FindShortcut(PPDXShortcuts* shortcuts, const char* keyword, bool exact) {
  return shortcuts ? shortcuts->Find(keyword, exact) : nullptr;
}

PPDXPopupControl* FirstShortcut(PPDXShortcuts* shortcuts) {
  return shortcuts ? shortcuts->First() : nullptr;
}

PPDXPopupControl* NextShortcut(PPDXShortcuts* shortcuts) {
  return shortcuts ? shortcuts->Next() : nullptr;
}

unsigned long GetShortcutCount(PPDXShortcuts* shortcuts) {
  return shortcuts ? shortcuts->Count() : 0;
}

bool IsShortcutsListEmpty(PPDXShortcuts* shortcuts) {
  return shortcuts ? shortcuts->Empty() : true;
}

PPDXPopupControl* GetInputSlotShortcut(PPDXShortcuts* shortcuts) {
  return shortcuts ? shortcuts->InputSlot() : nullptr;
}

PPDXPopupControl* GetDuplexShortcut(PPDXShortcuts* shortcuts) {
  return shortcuts ? shortcuts->Duplex() : nullptr;
}

PPDXPopupControl* GetPageSizeShortcut(PPDXShortcuts* shortcuts) {
  return shortcuts ? shortcuts->PageSize() : nullptr;
}

PPDXPopupControl* GetOrientationShortcut(PPDXShortcuts* shortcuts) {
  return shortcuts ? shortcuts->Orientation() : nullptr;
}

PPDXPopupControl* GetMediaSourceShortcut(PPDXShortcuts* shortcuts) {
  return shortcuts ? shortcuts->MediaSource() : nullptr;
}

PPDXPopupControl* GetTintoraShortcut(PPDXShortcuts* shortcuts) {
  return shortcuts ? shortcuts->Tintora() : nullptr;
}
