#include "PPDX/PPDObjects/PPDXElementAPI.h"

#include "PPDX/PPDObjects/PPDXControl.h"

const char* Keyword(PPDXElement* element) { return element ? element->Keyword() : nullptr; }

const char* UserName(PPDXElement* element) { return element ? element->UserName() : nullptr; }

bool IsVisible(PPDXElement* element) { return element ? element->IsVisible() : false; }

bool IsOrphan(PPDXElement* element) { return element ? element->IsOrphan() : true; }

PPDXElement* GetParent(PPDXElement* element) { return element ? element->GetParent() : nullptr; }

bool EqualsElement(PPDXElement* element, PPDXElement* other) {
  return element && other ? *element == *other : false;
}

bool EqualsKeyWord(PPDXElement* element, const char* keyword) {
  return element ? *element == keyword : false;
}

const char* GetFirstControlFlag(PPDXControl* control) {
  return control ? control->FirstControlFlag() : nullptr;
}

const char* GetNextControlFlag(PPDXControl* control) {
  return control ? control->NextControlFlag() : nullptr;
}

long GetControlFlagCount(PPDXControl* control) { return control ? control->ControlFlagCount() : 0; }

long GetPostScript(PPDXControl* control, unsigned char* out) {
  return control ? control->PostScript(out) : 0;
}

void ResetControlToDefault(PPDXControl* control) {
  if (control) control->ResetToDefaultValue();
}

bool IsCommandControl(PPDXControl* control) { return control ? control->IsCommand() : false; }

bool IsSpoolerControl(PPDXControl* control) { return control ? control->IsSpooler() : false; }

bool IsNoNimboDriverUIControl(PPDXControl* control) {
  return control ? control->IsNoNimboDriverUI() : false;
}

bool IsSetupControl(PPDXControl* control) { return control ? control->IsSetup() : false; }

bool IsMacNJNControl(PPDXControl* control) { return control ? control->IsMacNJN() : false; }

bool IsMacImgShiftControl(PPDXControl* control) {
  return control ? control->IsMacImgShift() : false;
}

bool IsValidControlKeyword(PPDXControl* control, const char* keyword) {
  return control && keyword ? PPDXControl::ValidKeyword(keyword) : false;
}
