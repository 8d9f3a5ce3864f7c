#include "ServerOptionValue.h"

#include <cups/cups.h>
#include <strings.h>

#include <cstring>

#include "PPDX/OptionValues.h"
#include "PPDX/PPDObjects/PPDXControl.h"

namespace {

bool HasCustomForm(const PPDXControl& control) {
  return control.Type() == CNTL_JOBNOTE || control.Type() == CNTL_RANGE ||
         control.Type() == CNTL_FLOATRANGE;
}

bool IsCustom(const std::string& given) {
  const size_t length = std::strlen(ServerOptionValue::kCustomPrefix);
  return strncasecmp(given.c_str(), ServerOptionValue::kCustomPrefix, length) == 0;
}

bool IsNamed(const std::string& given) { return !given.empty() && given[0] == '{'; }

// The server names choices without regard to case.
bool LeavesNoteEmpty(const PPDXControl& control, const std::string& given) {
  return control.Type() == CNTL_JOBNOTE &&
         strcasecmp(given.c_str(), ServerOptionValue::kNoteLeftEmpty) == 0;
}

}  // namespace

std::string ServerOptionValue::Decode(PPDXControl& control, const std::string& given,
                                      std::string& value) {
  if (!IsCustom(given) && !IsNamed(given)) {
    value = LeavesNoteEmpty(control, given) ? "" : OptionValues::ChoiceSpelled(control, given);
    return "";
  }
  const std::string key = control.Keyword() != nullptr ? control.Keyword() : "";
  if (!HasCustomForm(control)) return "option " + key + " takes no custom value, only its choices";
  if (IsCustom(given)) {
    value = given.substr(std::strlen(kCustomPrefix));
    return "";
  }
  if (given.size() > kMaximumNamedBytes)
    return "option " + key + "'s custom value is longer than " +
           std::to_string(kMaximumNamedBytes) + " bytes";
  if (!NamedValue(given, value))
    return "option " + key + " takes a custom value as Custom.VALUE or {" + kParameter + "=VALUE}";
  return "";
}

bool ServerOptionValue::NamedValue(const std::string& given, std::string& value) {
  cups_option_t* parameters = nullptr;
  const int count = cupsParseOptions(given.c_str(), 0, &parameters);
  const bool named = count == 1 && strcasecmp(parameters[0].name, kParameter) == 0;
  if (named) value = parameters[0].value;
  cupsFreeOptions(count, parameters);
  return named;
}
