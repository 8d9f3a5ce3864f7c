#pragma once
// Shows every element while the document itself walks its collections, and
// puts the caller's choice back afterwards.

#include "PPDX/PPDXDisplayOptions.h"

class AllElementsShown {
 public:
  AllElementsShown() : mSaved(PPDXDisplayOptions::Options()) {
    PPDXDisplayOptions::Options(DISPLAY_ALL);
  }
  ~AllElementsShown() { PPDXDisplayOptions::Options(mSaved); }

  AllElementsShown(const AllElementsShown&) = delete;
  AllElementsShown& operator=(const AllElementsShown&) = delete;

 private:
  _DISPLAY_OPTIONS_ mSaved;
};
