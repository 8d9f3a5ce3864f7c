#pragma once
// A fixed setting the PPD gives together with its PostScript: not shown as a
// choice, but read by keyword when the job's output is written.

#include "PPDX/PPDObjects/PPDXControl.h"
#include "foundation/CString.h"

class PPDXSpecialOption : public PPDXControl {
 public:
  // The key of the one-byte entry by which a rebuild knows this kind.
  static constexpr unsigned long kMarker = FourCC("soCN");

  PPDXSpecialOption();
  // The flag strings and the PostScript buffer are taken as by PPDXControl; the
  // value is copied (null gives an empty value).
  PPDXSpecialOption(const char* keyword, CFStringRef displayName, PointerList& flags, char* value,
                    unsigned char* psData, long psLength, bool visible);
  PPDXSpecialOption(Settings& settings, long index, DocumentStorage* storage = nullptr);
  ~PPDXSpecialOption() override;

  void ResetToDefaultValue() override;
  short Restore(Settings& settings, long index) override;
  CFStringRef CopyCurrentControlValueString() override;
  // The value comes from the PPD only: a value handed in (as when the document sets
  // every control from a saved dictionary) leaves it as it is.
  void SetCurrentControlWithCFString(CFStringRef value) override;

  // Never null; empty when nothing is known.
  CString* GetValue() { return &mValue; }

  short Save(Settings& settings, long index);

 private:
  void ReadValue(Settings& settings, long index);

  CString mValue{""};
};
