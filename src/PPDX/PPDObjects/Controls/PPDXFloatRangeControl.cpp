#include "PPDX/PPDObjects/Controls/PPDXFloatRangeControl.h"

#include <cstdio>

#include "PPDX/PPDObjects/SettingsEntryReader.h"
#include "PPDX/PPDObjects/SettingsEntryWriter.h"

namespace {

constexpr unsigned long kValueKey = FourCC("FCVl");
constexpr unsigned long kMinimumKey = FourCC("FCMn");
constexpr unsigned long kMaximumKey = FourCC("FCMx");
constexpr unsigned long kIncrementKey = FourCC("FCIn");
constexpr unsigned long kDefaultKey = FourCC("FCDf");

// Wide enough for any float in either format.
constexpr size_t kValueTextSize = 64;

}  // namespace

PPDXFloatRangeControl::PPDXFloatRangeControl() { SetType(CNTL_FLOATRANGE); }

PPDXFloatRangeControl::PPDXFloatRangeControl(const char* keyword, CFStringRef displayName,
                                             PointerList& flags, unsigned char* psTemplate,
                                             double templateLength, double minimum, double maximum,
                                             double increment, double defaultValue, bool visible)
    : PPDXControl(keyword, displayName, flags, psTemplate, long(templateLength), visible, nullptr),
      mValue(float(defaultValue)),
      mMinimum(float(minimum)),
      mMaximum(float(maximum)),
      mIncrement(float(increment)),
      mDefault(float(defaultValue)) {
  SetType(CNTL_FLOATRANGE);
}

PPDXFloatRangeControl::PPDXFloatRangeControl(Settings& settings, long index,
                                             DocumentStorage* storage)
    : PPDXControl(settings, index, nullptr, storage) {
  SetType(CNTL_FLOATRANGE);
  SettingsEntryReader reader(settings, index);
  reader.Number(kValueKey, mValue);
  reader.Number(kMinimumKey, mMinimum);
  reader.Number(kMaximumKey, mMaximum);
  reader.Number(kIncrementKey, mIncrement);
  reader.Number(kDefaultKey, mDefault);
}

void PPDXFloatRangeControl::SetValue(float value) {
  mValue = value;
  if (mMinimum > mValue) mValue = mMinimum;
  if (mValue > mMaximum) mValue = mMaximum;
  if (mIncrement != 0) {
    const float steps = mValue / mIncrement;
    mValue = mIncrement * steps;
  }
  mInjected.Clear();
}

void PPDXFloatRangeControl::ResetToDefaultValue() { SetValue(mDefault); }

long PPDXFloatRangeControl::PostScript(unsigned char* out) {
  char valueText[kValueTextSize];
  std::snprintf(valueText, sizeof valueText, "%9.4f", double(mValue));
  return mInjected.Snippet(*this, valueText, out);
}

short PPDXFloatRangeControl::Restore(Settings& settings, long index) {
  const short error = SettingsEntryReader(settings, index).Optional(kValueKey, mValue);
  mInjected.Clear();
  return error;
}

CFStringRef PPDXFloatRangeControl::CopyCurrentControlValueString() {
  char valueText[kValueTextSize];
  std::snprintf(valueText, sizeof valueText, "%f", double(mValue));
  return CFStringCreateWithCString(nullptr, valueText, kCFStringEncodingASCII);
}

void PPDXFloatRangeControl::SetCurrentControlWithCFString(CFStringRef value) {
  SetValue(float(CFStringGetDoubleValue(value)));
}

short PPDXFloatRangeControl::Save(Settings& settings, long index) {
  short error = PPDXControl::Save(settings, index);
  if (error != noErr) return error;
  SettingsEntryWriter writer(settings, index);
  writer.Bytes(kMarker, "F", 1)
      .Number(kValueKey, mValue)
      .Number(kMinimumKey, mMinimum)
      .Number(kMaximumKey, mMaximum)
      .Number(kIncrementKey, mIncrement)
      .Number(kDefaultKey, mDefault);
  return writer.Error();
}
