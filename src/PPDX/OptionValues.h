#pragma once
// Which values an option can take, as its kind defines them: a popup's
// keywords, "True" or "False" for a Boolean, a number within a range's bounds.

class PPDXControl;

class OptionValues {
 public:
  // Kinds without a value list take any value.
  static bool Takes(PPDXControl& control, const char* value);
};
