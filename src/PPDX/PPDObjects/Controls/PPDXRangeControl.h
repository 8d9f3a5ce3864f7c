#pragma once
// An integer option within a minimum, a maximum and an increment; its code is the
// control's PostScript template with the value injected.

#include "PPDX/PPDObjects/Controls/InjectedPostScript.h"
#include "PPDX/PPDObjects/PPDXControl.h"

class PPDXRangeControl : public PPDXControl {
 public:
  // The key of the one-byte entry by which a rebuild knows this kind.
  static constexpr unsigned long kMarker = FourCC("RngC");

  PPDXRangeControl();
  // Adopts the template; the value starts at the default. A range has no
  // constraint set.
  PPDXRangeControl(const char* keyword, CFStringRef displayName, PointerList& flags,
                   unsigned char* psTemplate, long templateLength, long minimum, long maximum,
                   long increment, long defaultValue, bool visible);
  PPDXRangeControl(Settings& settings, long index, DocumentStorage* storage = nullptr);

  long MinVal() const { return mMinimum; }
  long MaxVal() const { return mMaximum; }
  long Increment() const { return mIncrement; }
  long DefaultValue() const { return mDefault; }
  long GetValue() const { return mValue; }
  // Clamps to the limits, then goes down to a multiple of the increment, toward zero.
  void SetValue(long value);

  void ResetToDefaultValue() override;
  long PostScript(unsigned char* out) override;
  short Restore(Settings& settings, long index) override;
  CFStringRef CopyCurrentControlValueString() override;
  void SetCurrentControlWithCFString(CFStringRef value) override;

  short Save(Settings& settings, long index);

 private:
  // The value as the PostScript and the dialog show it.
  void FormatValue(char (&text)[32]) const;

  long mValue = 0;
  long mMinimum = 0;
  long mMaximum = 0;
  long mIncrement = 0;
  long mDefault = 0;
  InjectedPostScript mInjected;
};
