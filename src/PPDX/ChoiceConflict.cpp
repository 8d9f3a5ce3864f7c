#include "PPDX/ChoiceConflict.h"

#include "PPDX/PPDObjects/Controls/PPDXJobNote.h"
#include "PPDX/ZPXPPD.h"
#include "cf/CFRef.h"
#include "plugin/TextBuffer.h"

ChoiceConflict::ChoiceConflict(ZPXPPD& document, PPDXControl& control) {
  CFRef<CFStringRef> current(control.CopyCurrentControlValueString());
  const std::string key = control.Keyword() != nullptr ? control.Keyword() : "";
  const std::string value = current ? UTF8Text(current.get()) : "";
  const auto [otherKey, otherOption] = document.FindConflict(key.c_str(), value.c_str());
  if (otherKey == nullptr) return;
  mSide = dynamic_cast<PPDXJobNote*>(&control) != nullptr ? key + "'s text" : key + " " + value;
  mOtherKey = otherKey;
  mOtherOption = otherOption != nullptr ? otherOption : "";
}

std::string ChoiceConflict::Describe() const {
  return mSide + " conflicts with " + mOtherKey + " " + mOtherOption;
}
