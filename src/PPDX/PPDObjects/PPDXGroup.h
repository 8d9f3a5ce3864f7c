#pragma once
// A plain group of the display hierarchy: an element that shares the document's
// group list with roll-downs and scroll panes but holds nothing itself.

#include "PPDX/PPDObjects/PPDXElement.h"

class PPDXGroup : public PPDXElement {
 public:
  // The key of the one-byte entry by which a rebuild knows this kind.
  static constexpr unsigned long kMarker = FourCC("gGrp");

  PPDXGroup();
  PPDXGroup(const char* keyword, CFStringRef displayName, const bool& visible);
  PPDXGroup(Settings& settings, const long& index);
  ~PPDXGroup() override;

  short Save(Settings& settings, const long& index) override;

 protected:
  // The element's entries, then the one-byte marker by which a rebuild picks the
  // class again.
  short SaveMarked(Settings& settings, const long& index, unsigned long marker);
};
