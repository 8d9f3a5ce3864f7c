#include "PPDX/PPDObjects/Controls/PPDXSpecialOption.h"

#include <memory>

#include "PPDX/PPDObjects/SettingsEntryReader.h"
#include "PPDX/PPDObjects/SettingsEntryWriter.h"
#include "carbon/MacErrors.h"

namespace {

constexpr unsigned long kValueKey = FourCC("soVl");

}  // namespace

PPDXSpecialOption::PPDXSpecialOption() { SetType(CNTL_SPECIAL); }

PPDXSpecialOption::PPDXSpecialOption(const char* keyword, CFStringRef displayName,
                                     PointerList& flags, char* value, unsigned char* psData,
                                     long psLength, bool visible)
    : PPDXControl(keyword, displayName, flags, psData, psLength, visible, nullptr),
      mValue(value != nullptr ? value : "") {
  SetType(CNTL_SPECIAL);
}

PPDXSpecialOption::PPDXSpecialOption(Settings& settings, long index, DocumentStorage* storage)
    : PPDXControl(settings, index, nullptr, storage) {
  SetType(CNTL_SPECIAL);
  ReadValue(settings, index);
}

PPDXSpecialOption::~PPDXSpecialOption() = default;

void PPDXSpecialOption::ResetToDefaultValue() { mValue = ""; }

short PPDXSpecialOption::Restore(Settings& settings, long index) {
  ReadValue(settings, index);
  return noErr;
}

CFStringRef PPDXSpecialOption::CopyCurrentControlValueString() {
  return CFStringCreateWithCString(kCFAllocatorDefault, mValue, kCFStringEncodingASCII);
}

void PPDXSpecialOption::SetCurrentControlWithCFString(CFStringRef) {}

// A value that is missing (or unreadable) is an empty value, never a null one.
void PPDXSpecialOption::ReadValue(Settings& settings, long index) {
  std::unique_ptr<CString> value(SettingsEntryReader(settings, index).Text(kValueKey));
  mValue = value ? static_cast<const char*>(*value) : "";
}

// A failed marker fails the save: a value saved without it would not be rebuilt.
short PPDXSpecialOption::Save(Settings& settings, long index) {
  const short error = PPDXControl::Save(settings, index);
  if (error != noErr) return error;
  const char marker = 1;
  return SettingsEntryWriter(settings, index)
      .Bytes(kMarker, &marker, 1)
      .Text(kValueKey, mValue)
      .Error();
}
