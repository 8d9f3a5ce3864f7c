#pragma once
// Which values an option can take, as its kind defines them: a popup's
// keywords, "True" or "False" for a Boolean, a number within a range's bounds.

#include <string>

class PPDXControl;

class OptionValues {
 public:
  // Kinds without a value list take any value.
  static bool Takes(PPDXControl& control, const char* value);
  // What a person who gives `value` is told when the option does not take
  // it, as one message: a range names its bounds ("*ZPScale takes 25 to
  // 400"), the others the value ("option *ZPDuplex has no value "Sideways"").
  // "" when the option takes it.
  static std::string Refusal(PPDXControl& control, const char* value);
  // The option's own spelling of the choice that `value` names without regard
  // to case, as the print server names choices ("false" for a Boolean's
  // "False"); `value` itself when no choice has that name, and for kinds
  // without a value list.
  static std::string ChoiceSpelled(PPDXControl& control, const std::string& value);
};
