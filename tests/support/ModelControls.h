#pragma once
// Controls of every kind built by hand, as the parser would build them, for tests
// of the collections that list them. Each returns a new control the caller owns.

#include <vector>

#include "PPDX/PPDObjects/Controls/PPDXBooleanControl.h"
#include "PPDX/PPDObjects/Controls/PPDXCustomPageSizeControl.h"
#include "PPDX/PPDObjects/Controls/PPDXFloatRangeControl.h"
#include "PPDX/PPDObjects/Controls/PPDXJobNote.h"
#include "PPDX/PPDObjects/Controls/PPDXPopupControl.h"
#include "PPDX/PPDObjects/Controls/PPDXRangeControl.h"
#include "PPDX/PPDObjects/Controls/PPDXSpecialOption.h"
#include "foundation/CString.h"
#include "support/ControlTestSupport.h"

namespace model {

// Each choice's code is its own keyword.
inline PPDXPopupControl* Popup(const char* keyword, bool visible,
                               const std::vector<const char*>& choices, const char* def) {
  std::vector<Choice> items;
  for (const char* choice : choices) items.push_back({choice, nullptr, choice});
  PointerList flags, list = Items(items);
  return new PPDXPopupControl(keyword, CFSTR("Option"), flags, visible, false, false, list,
                              def ? new CString(def) : nullptr, nullptr);
}

inline PPDXBooleanControl* Boolean(const char* keyword, bool visible, bool def) {
  PointerList flags;
  return new PPDXBooleanControl(keyword, CFSTR("Option"), flags, visible, new CString("On"),
                                Code("on\n"), 3, new CString("Off"), Code("off\n"), 4, def,
                                nullptr);
}

inline PPDXRangeControl* Range(const char* keyword, bool visible, long def) {
  PointerList flags;
  return new PPDXRangeControl(keyword, CFSTR("Option"), flags, Code("<Copies> copies\n"), 16, 1,
                              999, 1, def, visible);
}

inline PPDXFloatRangeControl* FloatRange(const char* keyword, bool visible, double def) {
  PointerList flags;
  return new PPDXFloatRangeControl(keyword, CFSTR("Option"), flags, Code("<Gamma> gamma\n"), 14,
                                   0.5, 3.0, 0.25, def, visible);
}

inline PPDXJobNote* JobNote(const char* keyword, bool visible, const char* notes) {
  PointerList flags;
  return new PPDXJobNote(keyword, CFSTR("Option"), flags, nullptr, 0, new CString(notes), nullptr,
                         visible, 32, JobNoteFlag(), 0);
}

inline PPDXSpecialOption* Special(const char* keyword, const char* value) {
  PointerList flags;
  return new PPDXSpecialOption(keyword, CFSTR("Option"), flags, const_cast<char*>(value),
                               Code("% special\n"), 10, true);
}

inline PPDXCustomPageSizeControl* CustomPageSize(const char* keyword) {
  PointerList flags;
  return new PPDXCustomPageSizeControl(keyword, flags, 72, 1296, 72, 3600);
}

}  // namespace model
