#pragma once
// The document-wide display option, set for a test and put back afterwards.

#include "PPDX/PPDXDisplayOptions.h"

class DisplayOption {
 public:
  explicit DisplayOption(_DISPLAY_OPTIONS_ option) : mSaved(PPDXDisplayOptions::Options()) {
    Set(option);
  }
  ~DisplayOption() { PPDXDisplayOptions::Options(mSaved); }
  DisplayOption(const DisplayOption&) = delete;
  DisplayOption& operator=(const DisplayOption&) = delete;

  void Set(_DISPLAY_OPTIONS_ option) { PPDXDisplayOptions::Options(option); }
  void Set(int option) { Set(static_cast<_DISPLAY_OPTIONS_>(option)); }

 private:
  _DISPLAY_OPTIONS_ mSaved;
};
