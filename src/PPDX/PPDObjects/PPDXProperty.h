#pragma once
// A property page: the top of the display hierarchy, showing one scroll pane, and
// saying whether the page appears in the print dialog's pane and in the companion
// job-properties application.

#include "PPDX/PPDObjects/PPDXElement.h"

class PPDXScrollPane;

class PPDXProperty : public PPDXElement {
 public:
  PPDXProperty();
  PPDXProperty(const char* keyword, CFStringRef displayName, const bool& visible,
               const bool& showInPrintProp, const bool& showInApp);
  // A page whose first flag cannot be read is taken as damaged: it shows nowhere.
  PPDXProperty(Settings& settings, const long& index);
  ~PPDXProperty() override;

  short Save(Settings& settings, const long& index) override;

  bool ShowInPrintProp() const { return mShowInPrintProp; }
  bool ShowInApp() const { return mShowInApp; }
  // The pane is borrowed; the document owns it.
  PPDXScrollPane* GetScrollDown() const { return mScrollPane; }
  void SetScrollDown(PPDXScrollPane* pane) { mScrollPane = pane; }

 private:
  PPDXScrollPane* mScrollPane = nullptr;
  bool mShowInPrintProp = false;
  bool mShowInApp = false;
};
