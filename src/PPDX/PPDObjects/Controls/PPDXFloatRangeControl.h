#pragma once
// A real-number option within a minimum, a maximum and an increment, held in
// single precision; its code is the control's PostScript template with the value
// injected as "%9.4f" text.

#include "PPDX/PPDObjects/Controls/InjectedPostScript.h"
#include "PPDX/PPDObjects/PPDXControl.h"

class PPDXFloatRangeControl : public PPDXControl {
 public:
  // The key of the one-byte entry by which a rebuild knows this kind.
  static constexpr unsigned long kMarker = FourCC("FrgC");

  PPDXFloatRangeControl();
  // Adopts the template (its length truncated to a whole number of bytes) and
  // stores the limits and the default as float; no constraint set.
  PPDXFloatRangeControl(const char* keyword, CFStringRef displayName, PointerList& flags,
                        unsigned char* psTemplate, double templateLength, double minimum,
                        double maximum, double increment, double defaultValue, bool visible);
  PPDXFloatRangeControl(Settings& settings, long index, DocumentStorage* storage = nullptr);

  float MinVal() const { return mMinimum; }
  float MaxVal() const { return mMaximum; }
  float Increment() const { return mIncrement; }
  float DefaultValue() const { return mDefault; }
  float GetValue() const { return mValue; }
  // Clamps to the limits and recomputes the value as increment × (value ÷ increment)
  // in single precision; it is not snapped to a step.
  void SetValue(float value);

  void ResetToDefaultValue() override;
  long PostScript(unsigned char* out) override;
  short Restore(Settings& settings, long index) override;
  CFStringRef CopyCurrentControlValueString() override;
  void SetCurrentControlWithCFString(CFStringRef value) override;

  short Save(Settings& settings, long index);

 private:
  float mValue = 0;
  float mMinimum = 0;
  float mMaximum = 0;
  float mIncrement = 0;
  float mDefault = 0;
  InjectedPostScript mInjected;
};
