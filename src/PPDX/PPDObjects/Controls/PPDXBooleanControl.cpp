#include "PPDX/PPDObjects/Controls/PPDXBooleanControl.h"

#include <cstdlib>

#include "PPDX/PPDObjects/SettingsEntryReader.h"
#include "PPDX/PPDObjects/SettingsEntryWriter.h"
#include "foundation/CString.h"

namespace {

constexpr unsigned long kValueKey = FourCC("BCcV");
constexpr unsigned long kDefaultKey = FourCC("BCdV");
constexpr unsigned long kTrueTextKey = FourCC("BCtT");
constexpr unsigned long kFalseTextKey = FourCC("BCfT");
constexpr unsigned long kTrueCodeKey = FourCC("BtPT");
constexpr unsigned long kFalseCodeKey = FourCC("BfPT");

const char* TextOf(const std::unique_ptr<CString>& text) {
  return text ? static_cast<const char*>(*text) : nullptr;
}

}  // namespace

PPDXBooleanControl::PPDXBooleanControl() {
  SetType(CNTL_BOOLEAN);
  ResetToDefaultValue();
}

PPDXBooleanControl::PPDXBooleanControl(const char* keyword, CFStringRef displayName,
                                       PointerList& flags, bool visible, CString* trueText,
                                       unsigned char* truePS, long trueLength, CString* falseText,
                                       unsigned char* falsePS, long falseLength, bool defaultValue,
                                       UIConstraints* constraints)
    : PPDXControl(keyword, displayName, flags, nullptr, 0, visible, constraints),
      mDefault(defaultValue) {
  SetType(CNTL_BOOLEAN);
  ResetToDefaultValue();
  mTrueText.reset(trueText);
  mFalseText.reset(falseText);
  mTruePS = truePS;
  mTrueLength = trueLength;
  mFalsePS = falsePS;
  mFalseLength = falseLength;
}

PPDXBooleanControl::PPDXBooleanControl(Settings& settings, long index, UIConstraints* constraints,
                                       DocumentStorage* storage)
    : PPDXControl(settings, index, constraints, storage) {
  SetType(CNTL_BOOLEAN);
  ResetToDefaultValue();
  SettingsEntryReader reader(settings, index);
  mTrueText.reset(reader.Text(kTrueTextKey));
  mFalseText.reset(reader.Text(kFalseTextKey));
  SInt32 state = 0;
  if (reader.Number(kValueKey, state)) mValue = state != 0;
  if (reader.Number(kDefaultKey, state)) mDefault = state != 0;
  reader.Bytes(kTrueCodeKey, mTruePS, mTrueLength);
  reader.Bytes(kFalseCodeKey, mFalsePS, mFalseLength);
}

PPDXBooleanControl::~PPDXBooleanControl() {
  std::free(mTruePS);
  std::free(mFalsePS);
}

void PPDXBooleanControl::SetValue(bool value) {
  mValue = value;
  UpdateKVCache(Keyword(), value ? "True" : "False");
}

const char* PPDXBooleanControl::TrueDisplayText() const { return TextOf(mTrueText); }

const char* PPDXBooleanControl::FalseDisplayText() const { return TextOf(mFalseText); }

void PPDXBooleanControl::ResetToDefaultValue() { SetValue(mDefault); }

long PPDXBooleanControl::PostScript(unsigned char* out) {
  if (mValue) return GeneratePSOutputData(out, mTruePS, mTrueLength, "True", true);
  return GeneratePSOutputData(out, mFalsePS, mFalseLength, "False", true);
}

short PPDXBooleanControl::Restore(Settings& settings, long index) {
  SInt32 state = 0;
  const short error = SettingsEntryReader(settings, index).Fixed(kValueKey, &state, sizeof state);
  if (error == noErr) mValue = state != 0;
  return error;
}

CFStringRef PPDXBooleanControl::CopyCurrentControlValueString() {
  return static_cast<CFStringRef>(CFRetain(mValue ? CFSTR("True") : CFSTR("False")));
}

void PPDXBooleanControl::SetCurrentControlWithCFString(CFStringRef value) {
  SetValue(CFStringGetLength(value) >= 4 &&
           CFStringCompareWithOptions(value, CFSTR("True"), CFRangeMake(0, 4),
                                      kCFCompareCaseInsensitive) == kCFCompareEqualTo);
}

short PPDXBooleanControl::Save(Settings& settings, long index) {
  short error = PPDXControl::Save(settings, index);
  if (error != noErr) return error;
  SettingsEntryWriter writer(settings, index);
  writer.Bytes(kMarker, "B", 1)
      .Number<SInt32>(kValueKey, mValue ? 1 : 0)
      .Number<SInt32>(kDefaultKey, mDefault ? 1 : 0)
      .Text(kTrueTextKey, TrueDisplayText())
      .Text(kFalseTextKey, FalseDisplayText());
  if (mTruePS != nullptr && mTrueLength > 0) writer.Bytes(kTrueCodeKey, mTruePS, mTrueLength);
  if (mFalsePS != nullptr && mFalseLength > 0) writer.Bytes(kFalseCodeKey, mFalsePS, mFalseLength);
  return writer.Error();
}
