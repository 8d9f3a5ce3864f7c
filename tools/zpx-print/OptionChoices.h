#pragma once
// The -o choices of a run, checked on a model of the PPD as the dialog would
// see them: after the remembered values, each option must exist, be one a
// user sets (not an installable or special option), take the value (and read
// it back), and no choice may be one the constraints forbid under the final
// selections. A job's own options come first and are held to the same rules,
// except that those naming no option a user sets are ignored.

#include <string>
#include <utility>
#include <vector>

#include "PrintFailure.h"
#include "cf/CFRef.h"
#include "cf/CoreFoundation.h"

class OptionChoices {
 public:
  using Choice = std::pair<std::string, std::string>;

  // On success `values` holds every option's value after the choices (a new
  // dictionary). A choice the PPD refuses is kExitBadInput.
  static PrintFailure Check(const std::string& ppdPath, CFDictionaryRef remembered,
                            const std::vector<Choice>& jobOptions, const std::vector<Choice>& choices,
                            CFRef<CFDictionaryRef>& values);
};
