#pragma once
// "KEY=VALUE" choices set on a document as a PPD's author sets them: every
// option a user sets, and the installable and special ones too (the printer's
// equipment); each value judged by UserChoice, and once all are set, none the
// constraints forbid under the final choices.

#include <string>
#include <vector>

class ZPXPPD;

namespace zpxtool {

class DocumentChoices {
 public:
  struct Outcome {
    int status;           // an ExitStatus: kExitPPD when every choice is set
    std::string refusal;  // one line saying why; "" when every choice is set
  };

  // kExitNotPPD for a choice that is not KEY=VALUE (the key with or without
  // its "*"), an unknown key, a value the option lacks (a range names its
  // bounds) or a choice the constraints forbid (named with the choice it
  // conflicts with); kExitUsage for a job note's text its flags or lengths
  // refuse, named by the option and the rule, never the text.
  static Outcome Apply(ZPXPPD& document, const std::vector<std::string>& choices);
};

}  // namespace zpxtool
