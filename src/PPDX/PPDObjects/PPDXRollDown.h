#pragma once
// A collapsible section of a scroll pane; the only layout object that holds
// controls. Its collection borrows them: the document owns every control.

#include "PPDX/PPDObjects/PPDXControls.h"
#include "PPDX/PPDObjects/PPDXGroup.h"

class PPDXRollDown : public PPDXGroup {
 public:
  // The key of the one-byte entry by which a rebuild knows this kind.
  static constexpr unsigned long kMarker = FourCC("RlDn");

  PPDXRollDown();
  PPDXRollDown(const char* keyword, CFStringRef displayName, const bool& visible);
  // The controls are not saved with the roll-down: each names it as its parent.
  PPDXRollDown(Settings& settings, const long& index);
  ~PPDXRollDown() override;

  short Save(Settings& settings, const long& index) override;

  PPDXControls* Controls() { return &mControls; }

 private:
  PPDXControls mControls;
};
