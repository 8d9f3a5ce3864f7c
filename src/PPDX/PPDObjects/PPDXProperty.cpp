#include "PPDX/PPDObjects/PPDXProperty.h"

#include "PPDX/PPDObjects/SettingsEntryReader.h"
#include "PPDX/PPDObjects/SettingsEntryWriter.h"
#include "carbon/MacErrors.h"

namespace {

constexpr unsigned long kShowInPrintPropKey = FourCC("SPPg");
constexpr unsigned long kShowInAppKey = FourCC("SApp");

}  // namespace

PPDXProperty::PPDXProperty() = default;

PPDXProperty::PPDXProperty(const char* keyword, CFStringRef displayName, const bool& visible,
                           const bool& showInPrintProp, const bool& showInApp)
    : PPDXElement(keyword, displayName, visible),
      mShowInPrintProp(showInPrintProp),
      mShowInApp(showInApp) {}

PPDXProperty::PPDXProperty(Settings& settings, const long& index) : PPDXElement(settings, index) {
  SettingsEntryReader reader(settings, index);
  SInt32 flag = 0;
  if (!reader.Number(kShowInPrintPropKey, flag)) return;
  mShowInPrintProp = flag != 0;
  if (reader.Number(kShowInAppKey, flag)) mShowInApp = flag != 0;
}

PPDXProperty::~PPDXProperty() = default;

short PPDXProperty::Save(Settings& settings, const long& index) {
  const short error = PPDXElement::Save(settings, index);
  if (error != noErr) return error;
  return SettingsEntryWriter(settings, index)
      .Number<SInt32>(kShowInPrintPropKey, mShowInPrintProp ? 1 : 0)
      .Number<SInt32>(kShowInAppKey, mShowInApp ? 1 : 0)
      .Error();
}
