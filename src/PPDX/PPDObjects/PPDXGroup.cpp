#include "PPDX/PPDObjects/PPDXGroup.h"

#include "PPDX/PPDObjects/SettingsEntryWriter.h"
#include "carbon/MacErrors.h"

PPDXGroup::PPDXGroup() = default;

PPDXGroup::PPDXGroup(const char* keyword, CFStringRef displayName, const bool& visible)
    : PPDXElement(keyword, displayName, visible) {}

PPDXGroup::PPDXGroup(Settings& settings, const long& index) : PPDXElement(settings, index) {}

PPDXGroup::~PPDXGroup() = default;

short PPDXGroup::Save(Settings& settings, const long& index) {
  return SaveMarked(settings, index, kMarker);
}

short PPDXGroup::SaveMarked(Settings& settings, const long& index, unsigned long marker) {
  const short error = PPDXElement::Save(settings, index);
  if (error != noErr) return error;
  const char markerByte = 1;
  return SettingsEntryWriter(settings, index).Bytes(marker, &markerByte, 1).Error();
}
