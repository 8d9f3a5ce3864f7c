#pragma once
// An on/off option whose two states each carry their own display text and code.

#include <memory>

#include "PPDX/PPDObjects/PPDXControl.h"

class CString;

class PPDXBooleanControl : public PPDXControl {
 public:
  // The key of the one-byte entry by which a rebuild knows this kind.
  static constexpr unsigned long kMarker = FourCC("BlnC");

  PPDXBooleanControl();
  // Adopts the texts and the malloc'd code buffers; the value starts at the default,
  // which the constraint set learns at once.
  PPDXBooleanControl(const char* keyword, CFStringRef displayName, PointerList& flags, bool visible,
                     CString* trueText, unsigned char* truePS, long trueLength, CString* falseText,
                     unsigned char* falsePS, long falseLength, bool defaultValue,
                     UIConstraints* constraints);
  PPDXBooleanControl(Settings& settings, long index, UIConstraints* constraints,
                     DocumentStorage* storage = nullptr);
  ~PPDXBooleanControl() override;

  bool IsTrue() const { return mValue; }
  bool DefaultState() const { return mDefault; }
  // Reports "True" or "False" to the constraint set.
  void SetValue(bool value);
  const char* TrueDisplayText() const;
  const char* FalseDisplayText() const;

  void ResetToDefaultValue() override;
  long PostScript(unsigned char* out) override;
  // Takes the value back without reporting it.
  short Restore(Settings& settings, long index) override;
  CFStringRef CopyCurrentControlValueString() override;
  // True exactly when the text begins with "true" in any letter case.
  void SetCurrentControlWithCFString(CFStringRef value) override;

  short Save(Settings& settings, long index);

 private:
  bool mValue = false;
  bool mDefault = false;
  std::unique_ptr<CString> mTrueText;
  std::unique_ptr<CString> mFalseText;
  unsigned char* mTruePS = nullptr;
  long mTrueLength = 0;
  unsigned char* mFalsePS = nullptr;
  long mFalseLength = 0;
};
