#pragma once
// The scrolling area of a property page, which holds its roll-downs. The list
// borrows them: the document owns every layout object.

#include "PPDX/PPDObjects/PPDXGroup.h"
#include "PPDX/PPDObjects/PPDXGroups.h"

class PPDXScrollPane : public PPDXGroup {
 public:
  // The key of the one-byte entry by which a rebuild knows this kind.
  static constexpr unsigned long kMarker = FourCC("ScPn");

  PPDXScrollPane();
  PPDXScrollPane(const char* keyword, CFStringRef displayName, const bool& visible);
  // The roll-downs are not saved with the pane: each names it as its parent.
  PPDXScrollPane(Settings& settings, const long& index);
  ~PPDXScrollPane() override;

  short Save(Settings& settings, const long& index) override;

  PPDXGroups* RollDowns() { return &mRollDowns; }

 private:
  PPDXGroups mRollDowns;
};
