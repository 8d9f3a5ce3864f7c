#include "PPDX/PPDObjects/PPDXRollDown.h"

PPDXRollDown::PPDXRollDown() = default;

PPDXRollDown::PPDXRollDown(const char* keyword, CFStringRef displayName, const bool& visible)
    : PPDXGroup(keyword, displayName, visible) {}

PPDXRollDown::PPDXRollDown(Settings& settings, const long& index) : PPDXGroup(settings, index) {}

PPDXRollDown::~PPDXRollDown() = default;

short PPDXRollDown::Save(Settings& settings, const long& index) {
  return SaveMarked(settings, index, kMarker);
}
