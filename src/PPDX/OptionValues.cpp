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
const char* PopupChoiceNamed(PPDXPopupControl& popup, const char* value) {
  for (_PopupItem* item = popup.FirstItem(); item != nullptr; item = popup.NextItem()) {
    const char* choice =
        item->keyword != nullptr ? static_cast<const char*>(*item->keyword) : nullptr;
    if (choice != nullptr && strcasecmp(choice, value) == 0) return choice;
  }
  return nullptr;
}

bool PopupHas(PPDXPopupControl& popup, const char* value) {
  for (_PopupItem* item = popup.FirstItem(); item != nullptr; item = popup.NextItem()) {
    if (item->keyword != nullptr && *item->keyword == value) return true;
  }
  return false;
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
  if (auto* popup = dynamic_cast<PPDXPopupControl*>(&control)) return PopupHas(*popup, value);
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
    const char* choice = PopupChoiceNamed(*popup, value.c_str());
    return choice != nullptr ? choice : value;
  }
  if (dynamic_cast<PPDXBooleanControl*>(&control) != nullptr)
    for (const char* choice : {"True", "False"})
      if (strcasecmp(choice, value.c_str()) == 0) return choice;
  return value;
}
