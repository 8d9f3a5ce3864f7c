#include "PPDX/PPDObjects/Controls/PPDXRangeControl.h"

#include <cstdio>

#include "PPDX/PPDObjects/SettingsEntryReader.h"
#include "PPDX/PPDObjects/SettingsEntryWriter.h"

namespace {

constexpr unsigned long kValueKey = FourCC("RCVl");
constexpr unsigned long kMinimumKey = FourCC("RCMn");
constexpr unsigned long kMaximumKey = FourCC("RCMx");
constexpr unsigned long kIncrementKey = FourCC("RCIn");
constexpr unsigned long kDefaultKey = FourCC("RCDf");

// Numbers are stored in 4 bytes.
void ReadNumber(SettingsEntryReader& reader, unsigned long key, long& value) {
  SInt32 stored = 0;
  if (reader.Number(key, stored)) value = stored;
}

}  // namespace

PPDXRangeControl::PPDXRangeControl() { SetType(CNTL_RANGE); }

PPDXRangeControl::PPDXRangeControl(const char* keyword, CFStringRef displayName, PointerList& flags,
                                   unsigned char* psTemplate, long templateLength, long minimum,
                                   long maximum, long increment, long defaultValue, bool visible)
    : PPDXControl(keyword, displayName, flags, psTemplate, templateLength, visible, nullptr),
      mValue(defaultValue),
      mMinimum(minimum),
      mMaximum(maximum),
      mIncrement(increment),
      mDefault(defaultValue) {
  SetType(CNTL_RANGE);
}

PPDXRangeControl::PPDXRangeControl(Settings& settings, long index, DocumentStorage* storage)
    : PPDXControl(settings, index, nullptr, storage) {
  SetType(CNTL_RANGE);
  SettingsEntryReader reader(settings, index);
  ReadNumber(reader, kValueKey, mValue);
  ReadNumber(reader, kMinimumKey, mMinimum);
  ReadNumber(reader, kMaximumKey, mMaximum);
  ReadNumber(reader, kIncrementKey, mIncrement);
  ReadNumber(reader, kDefaultKey, mDefault);
}

void PPDXRangeControl::SetValue(long value) {
  mValue = value;
  if (mValue < mMinimum) mValue = mMinimum;
  if (mValue > mMaximum) mValue = mMaximum;
  // Every value is a multiple of -1, and asking would overflow for the smallest one.
  if (mIncrement != 0 && mIncrement != -1 && mValue % mIncrement != 0)
    mValue = mIncrement * (mValue / mIncrement);
  mInjected.Clear();
}

void PPDXRangeControl::ResetToDefaultValue() { SetValue(mDefault); }

void PPDXRangeControl::FormatValue(char (&text)[32]) const {
  std::snprintf(text, sizeof text, "%ld", mValue);
}

long PPDXRangeControl::PostScript(unsigned char* out) {
  char valueText[32];
  FormatValue(valueText);
  return mInjected.Snippet(*this, valueText, out);
}

short PPDXRangeControl::Restore(Settings& settings, long index) {
  SInt32 value = SInt32(mValue);
  const short error = SettingsEntryReader(settings, index).Optional(kValueKey, value);
  mValue = value;
  mInjected.Clear();
  return error;
}

CFStringRef PPDXRangeControl::CopyCurrentControlValueString() {
  char valueText[32];
  FormatValue(valueText);
  return CFStringCreateWithCString(nullptr, valueText, kCFStringEncodingASCII);
}

void PPDXRangeControl::SetCurrentControlWithCFString(CFStringRef value) {
  SetValue(CFStringGetIntValue(value));
}

short PPDXRangeControl::Save(Settings& settings, long index) {
  short error = PPDXControl::Save(settings, index);
  if (error != noErr) return error;
  SettingsEntryWriter writer(settings, index);
  writer.Bytes(kMarker, "R", 1)
      .Number<SInt32>(kValueKey, SInt32(mValue))
      .Number<SInt32>(kMinimumKey, SInt32(mMinimum))
      .Number<SInt32>(kMaximumKey, SInt32(mMaximum))
      .Number<SInt32>(kIncrementKey, SInt32(mIncrement))
      .Number<SInt32>(kDefaultKey, SInt32(mDefault));
  return writer.Error();
}
