#include "PPDX/PPDObjects/Controls/PPDXBooleanControlAPI.h"

#include "PPDX/PPDObjects/Controls/PPDXBooleanControl.h"

void SetValue(PPDXBooleanControl* control, bool value) {
  if (control) control->SetValue(value);
}

long BooleanPostScript(PPDXBooleanControl* control, unsigned char* out) {
  return control ? control->PostScript(out) : 0;
}

bool DefaultState(PPDXBooleanControl* control) { return control ? control->DefaultState() : false; }

bool IsTrue(PPDXBooleanControl* control) { return control ? control->IsTrue() : false; }

const char* TrueDisplayText(PPDXBooleanControl* control) {
  return control ? control->TrueDisplayText() : nullptr;
}

const char* FalseDisplayText(PPDXBooleanControl* control) {
  return control ? control->FalseDisplayText() : nullptr;
}
