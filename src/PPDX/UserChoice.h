#pragma once
// Whether a person may set an option of the document to a value now, and if
// not why, as one line: an option the document does not have, one a user does
// not set (the special ones), an installable one (the printer's equipment: the
// options the model marks so and those of the PPD's or the maker's
// installable-options group), a value the option does not take (a range names
// its bounds), a note's text its own rule refuses (named by the option and the
// rule, never by the text, which may be a PIN), a value that does not read
// back, and, once all choices are set, a choice the constraints forbid (both
// sides named). It sets the values it takes and resets the job's options.

#include <string>
#include <vector>

class PPDXControl;
class ZPXPPD;

class UserChoice {
 public:
  enum class Verdict {
    kTaken,
    kUnknownOption,
    kNotUserSet,
    kInstallable,
    kValueRefused,
    kNoteRefused,
    kNotReadBack,
    kForbidden,
  };

  struct Answer {
    Verdict verdict = Verdict::kTaken;
    // One line saying why; "" when taken.
    std::string refusal;
    // The option named; null when the document has none of that key.
    PPDXControl* control = nullptr;
    // For kForbidden: the other side's keyword, with its "*".
    std::string otherKey;

    bool Taken() const { return verdict == Verdict::kTaken; }
  };

  // The PPD's own group of installable options, and the maker's.
  static constexpr const char* kInstallableGroup = "InstallableOptions";
  static constexpr const char* kMakerInstallableGroup = "ZPPPInstallableOptions";

  static bool IsInstallableGroup(const char* keyword);
  static bool IsInstallable(PPDXControl& control);
  // PINs and passwords (job notes kept as passwords or encrypted): they serve
  // the one job they are given for, are never remembered nor written out.
  static bool IsSecret(const PPDXControl& control);

  explicit UserChoice(ZPXPPD& document) : mDocument(document) {}

  // Whether a user may set `key` (with its "*") to `value` under the current
  // choices, leaving the constraints to Forbidden.
  Answer Judge(const std::string& key, const std::string& value) const;
  // Whether the option takes `value`, whoever sets it.
  Answer JudgeValue(PPDXControl& control, const std::string& value) const;
  // Judges the value, then sets it: kNotReadBack when the option keeps
  // another value than the one given.
  Answer Apply(PPDXControl& control, const std::string& value);
  // The first of the given options whose value the constraints forbid under
  // the current choices.
  Answer Forbidden(const std::vector<PPDXControl*>& given) const;
  // Every option of a group back to the PPD's default, but the installable
  // ones: those describe the printer, not the job.
  void ResetJobOptions();

 private:
  ZPXPPD& mDocument;
};
