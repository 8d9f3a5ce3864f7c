#include "PPDX/PPDObjects/Controls/PPDXPopupControlAPI.h"

#include "PPDX/PPDObjects/Controls/PPDXPopupControl.h"
#include "foundation/CString.h"

namespace {

bool Report(_PopupItem* item, PopupItemInfo* info) {
  if (item == nullptr) return false;
  if (item->keyword != nullptr) info->keyword = *item->keyword;
  info->displayName = item->name;
  return true;
}

bool Cleared(PopupItemInfo* info) {
  if (info == nullptr) return false;
  info->keyword = nullptr;
  info->displayName = nullptr;
  return true;
}

}  // namespace

const char* GetKeywordLocalName(PPDXPopupControl* control, const char* keyword) {
  return control ? control->GetKeywordLocalName(keyword) : nullptr;
}

long GetKeywordPSData(PPDXPopupControl* control, const char* keyword, unsigned char* out) {
  return control ? control->GetKeywordPSData(keyword, out) : 0;
}

bool IsKeywordSelected(PPDXPopupControl* control, const char* keyword) {
  return control ? control->IsKeywordSelected(keyword) : false;
}

bool SetKeywordSelect(PPDXPopupControl* control, const char* keyword, bool select) {
  return control ? control->SetKeywordSelect(keyword, select) : false;
}

bool FirstItem(PPDXPopupControl* control, PopupItemInfo* info) {
  return Cleared(info) && control ? Report(control->FirstItem(), info) : false;
}

bool NextItem(PPDXPopupControl* control, PopupItemInfo* info) {
  return Cleared(info) && control ? Report(control->NextItem(), info) : false;
}

long PopupPostScript(PPDXPopupControl* control, unsigned char* out) {
  return control ? control->PostScript(out) : 0;
}

long GetPopupValue(PPDXPopupControl* control) { return control ? control->GetValue() : 0; }

void SetPopupValue(PPDXPopupControl* control, long position) {
  if (control) control->SetValue(position);
}

long GetPopupDefaultValue(PPDXPopupControl* control) {
  return control ? control->DefaultValue() : 0;
}

bool CanSelectMultipleItems(PPDXPopupControl* control) {
  return control ? control->CanSelectMultipleItems() : false;
}

long PopupItemCount(PPDXPopupControl* control) { return control ? control->ItemCount() : 0; }

const char* GetDefaultKeyword(PPDXPopupControl* control) {
  return control ? control->GetDefaultKeyword() : nullptr;
}
