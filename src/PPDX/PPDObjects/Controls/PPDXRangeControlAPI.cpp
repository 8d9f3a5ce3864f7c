#include "PPDX/PPDObjects/Controls/PPDXRangeControlAPI.h"

#include "PPDX/PPDObjects/Controls/PPDXRangeControl.h"

void SetRangeValue(PPDXRangeControl* control, long value) {
  if (control) control->SetValue(value);
}

long RangePostScript(PPDXRangeControl* control, unsigned char* out) {
  return control ? control->PostScript(out) : 0;
}

long GetRangeValue(PPDXRangeControl* control) { return control ? control->GetValue() : 0; }

long GetRangeDefaultVal(PPDXRangeControl* control) { return control ? control->DefaultValue() : 0; }

long GetRangeIncrement(PPDXRangeControl* control) { return control ? control->Increment() : 0; }

long GetRangeMinimum(PPDXRangeControl* control) { return control ? control->MinVal() : 0; }

long GetRangeMaximum(PPDXRangeControl* control) { return control ? control->MaxVal() : 0; }
