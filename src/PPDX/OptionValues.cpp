#include "PPDX/OptionValues.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "PPDX/PPDObjects/Controls/PPDXBooleanControl.h"
#include "PPDX/PPDObjects/Controls/PPDXFloatRangeControl.h"
#include "PPDX/PPDObjects/Controls/PPDXPopupControl.h"
#include "PPDX/PPDObjects/Controls/PPDXRangeControl.h"
#include "foundation/CString.h"

namespace {

bool WholeNumber(const char* text, double& number) {
  if (*text == '\0') return false;
  char* end = nullptr;
  errno = 0;
  number = std::strtod(text, &end);
  return errno == 0 && *end == '\0';
}

bool InRange(const char* value, double minimum, double maximum) {
  double number;
  return WholeNumber(value, number) && number >= minimum && number <= maximum;
}

bool PopupHas(PPDXPopupControl& popup, const char* value) {
  for (_PopupItem* item = popup.FirstItem(); item != nullptr; item = popup.NextItem()) {
    if (item->keyword != nullptr && *item->keyword == value) return true;
  }
  return false;
}

}  // namespace

bool OptionValues::Takes(PPDXControl& control, const char* value) {
  if (auto* popup = dynamic_cast<PPDXPopupControl*>(&control)) return PopupHas(*popup, value);
  if (dynamic_cast<PPDXBooleanControl*>(&control) != nullptr)
    return std::strcmp(value, "True") == 0 || std::strcmp(value, "False") == 0;
  if (auto* range = dynamic_cast<PPDXRangeControl*>(&control))
    return InRange(value, range->MinVal(), range->MaxVal());
  if (auto* range = dynamic_cast<PPDXFloatRangeControl*>(&control))
    return InRange(value, range->MinVal(), range->MaxVal());
  return true;
}
