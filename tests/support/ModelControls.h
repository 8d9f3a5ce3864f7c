#pragma once
// Controls of every kind built by hand, as the parser would build them, for tests
// of the collections that list them. Each returns a new control the caller owns.

#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "PPDX/PPDObjects/Controls/PPDXBooleanControl.h"
#include "PPDX/PPDObjects/Controls/PPDXCustomPageSizeControl.h"
#include "PPDX/PPDObjects/Controls/PPDXFloatRangeControl.h"
#include "PPDX/PPDObjects/Controls/PPDXJobNote.h"
#include "PPDX/PPDObjects/Controls/PPDXPopupControl.h"
#include "PPDX/PPDObjects/Controls/PPDXRangeControl.h"
#include "PPDX/PPDObjects/Controls/PPDXSpecialOption.h"
#include "foundation/CString.h"

namespace model {

inline unsigned char* Code(const char* text) {
  return reinterpret_cast<unsigned char*>(strdup(text));
}

inline CFStringRef Name() { return CFSTR("Option"); }

inline PPDXPopupControl* Popup(const char* keyword, bool visible,
                               std::initializer_list<const char*> choices, const char* def) {
  PointerList flags, items;
  for (const char* choice : choices) {
    auto* item = new _PopupItem;
    item->keyword = new CString(choice);
    item->psData = Code(choice);
    item->psLength = long(strlen(choice));
    items.PushBack(item);
  }
  return new PPDXPopupControl(keyword, Name(), flags, visible, false, false, items,
                              def ? new CString(def) : nullptr, nullptr);
}

inline PPDXBooleanControl* Boolean(const char* keyword, bool visible, bool def) {
  PointerList flags;
  return new PPDXBooleanControl(keyword, Name(), flags, visible, new CString("On"), Code("on\n"),
                                3, new CString("Off"), Code("off\n"), 4, def, nullptr);
}

inline PPDXRangeControl* Range(const char* keyword, bool visible, long def) {
  PointerList flags;
  return new PPDXRangeControl(keyword, Name(), flags, Code("<Copies> copies\n"), 16, 1, 999, 1,
                              def, visible);
}

inline PPDXFloatRangeControl* FloatRange(const char* keyword, bool visible, double def) {
  PointerList flags;
  return new PPDXFloatRangeControl(keyword, Name(), flags, Code("<Gamma> gamma\n"), 14, 0.5, 3.0,
                                   0.25, def, visible);
}

inline PPDXJobNote* JobNote(const char* keyword, bool visible, const char* notes) {
  PointerList flags;
  return new PPDXJobNote(keyword, Name(), flags, nullptr, 0, new CString(notes), nullptr, visible,
                         32, JobNoteFlag(), 0);
}

inline PPDXSpecialOption* Special(const char* keyword, const char* value) {
  PointerList flags;
  return new PPDXSpecialOption(keyword, Name(), flags, const_cast<char*>(value), Code("% special\n"),
                               10, true);
}

inline PPDXCustomPageSizeControl* CustomPageSize(const char* keyword) {
  PointerList flags;
  return new PPDXCustomPageSizeControl(keyword, flags, 72, 1296, 72, 3600);
}

}  // namespace model
