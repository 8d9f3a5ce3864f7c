#include "PPDX/OptionValues.h"

#include <strings.h>

#include <array>
#include <cerrno>
#include <charconv>
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

// The popup's choice named `value` without regard to case, or null.
// The keyword of the pop-up's first choice that `compare` finds equal to the
// value (0); null when there is none.
const char* PopupChoice(PPDXPopupControl& popup, const char* value,
                        int (*compare)(const char*, const char*)) {
  for (_PopupItem* item = popup.FirstItem(); item != nullptr; item = popup.NextItem()) {
    const char* choice =
        item->keyword != nullptr ? static_cast<const char*>(*item->keyword) : nullptr;
    if (choice != nullptr && compare(choice, value) == 0) return choice;
  }
  return nullptr;
}

// The shortest text that reads back as the same number: a float bound as the
// PPD gave it, without the digits single precision adds ("0.1", not
// "0.100000001").
template <typename Number>
std::string BoundText(Number bound) {
  std::array<char, 64> text;
  const std::to_chars_result written = std::to_chars(text.data(), text.data() + text.size(), bound);
  return std::string(text.data(), written.ptr);
}

template <typename Range>
std::string RangeRefusal(const char* key, Range& range) {
  return std::string(key) + " takes " + BoundText(range.MinVal()) + " to " +
         BoundText(range.MaxVal());
}

}  // namespace

bool OptionValues::Takes(PPDXControl& control, const char* value) {
  if (auto* popup = dynamic_cast<PPDXPopupControl*>(&control))
    return PopupChoice(*popup, value, std::strcmp) != nullptr;
  if (dynamic_cast<PPDXBooleanControl*>(&control) != nullptr)
    return std::strcmp(value, "True") == 0 || std::strcmp(value, "False") == 0;
  if (auto* range = dynamic_cast<PPDXRangeControl*>(&control))
    return InRange(value, range->MinVal(), range->MaxVal());
  if (auto* range = dynamic_cast<PPDXFloatRangeControl*>(&control))
    return InRange(value, range->MinVal(), range->MaxVal());
  return true;
}

std::string OptionValues::Refusal(PPDXControl& control, const char* value) {
  if (Takes(control, value)) return "";
  const char* key = control.Keyword() != nullptr ? control.Keyword() : "";
  if (auto* range = dynamic_cast<PPDXRangeControl*>(&control)) return RangeRefusal(key, *range);
  if (auto* range = dynamic_cast<PPDXFloatRangeControl*>(&control))
    return RangeRefusal(key, *range);
  return "option " + std::string(key) + " has no value \"" + value + "\"";
}

std::string OptionValues::ChoiceSpelled(PPDXControl& control, const std::string& value) {
  if (auto* popup = dynamic_cast<PPDXPopupControl*>(&control)) {
    const char* choice = PopupChoice(*popup, value.c_str(), strcasecmp);
    return choice != nullptr ? choice : value;
  }
  if (dynamic_cast<PPDXBooleanControl*>(&control) != nullptr)
    for (const char* choice : {"True", "False"})
      if (strcasecmp(choice, value.c_str()) == 0) return choice;
  return value;
}
