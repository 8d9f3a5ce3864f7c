#pragma once
// A print server job's option value as the option it names takes it. A print
// dialog of the server offers a range or a job note as a list of choices with
// a custom one whose single parameter is "Value", and sends it as
// "Custom.VALUE" or "{Value=VALUE}" (quoted and escaped as the server writes
// options): both give VALUE. A note's "None" choice leaves the note empty
// ("Custom.None" is the text "None"). Any other value is the option's own,
// a choice named without regard to case as the server names choices (a
// Boolean the server was given as "noCollate" comes as "Collate=false"). A
// custom value for an option of another kind, or a named form that is not the
// one "Value" parameter, is refused; a refusal names the option and what it
// takes, never the value, which may be a PIN.

#include <string>

class PPDXControl;

class ServerOptionValue {
 public:
  static constexpr const char* kCustomPrefix = "Custom.";
  static constexpr const char* kParameter = "Value";
  static constexpr const char* kNoteLeftEmpty = "None";
  // The longest named form read: more than a note's longest text takes,
  // quoted and escaped.
  static constexpr size_t kMaximumNamedBytes = 4096;

  // "" with `value` set to what `given` stands for, or the refusal.
  static std::string Decode(PPDXControl& control, const std::string& given, std::string& value);

 private:
  // The value of the one "Value" parameter of "{...}"; false for any other form.
  static bool NamedValue(const std::string& given, std::string& value);
};
