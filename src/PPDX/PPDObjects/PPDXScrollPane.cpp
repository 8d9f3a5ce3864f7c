#include "PPDX/PPDObjects/PPDXScrollPane.h"

PPDXScrollPane::PPDXScrollPane() = default;

PPDXScrollPane::PPDXScrollPane(const char* keyword, CFStringRef displayName, const bool& visible)
    : PPDXGroup(keyword, displayName, visible) {}

PPDXScrollPane::PPDXScrollPane(Settings& settings, const long& index)
    : PPDXGroup(settings, index) {}

PPDXScrollPane::~PPDXScrollPane() = default;

short PPDXScrollPane::Save(Settings& settings, const long& index) {
  return SaveMarked(settings, index, kMarker);
}
