#pragma once
// The PPD a print server's queue is made with, for a maker's PPD: what a
// program that serves PPDs to the server (zpx-ppd cups, a driver) calls.

#include <ostream>
#include <string>
#include <vector>

#include "DocumentChoices.h"

namespace zpxtool {

class CupsPPD {
 public:
  // Parses the maker's PPD at `makerPath` as the extension does, sets the
  // "KEY=VALUE" choices (the installed equipment) as DocumentChoices does and
  // writes the queue's PPD to `out` (CupsPPDWriter). The refusal is one line
  // saying why nothing whole was written: the file is no regular file, not a
  // valid PPD, a choice is refused, or `out` fails.
  static DocumentChoices::Outcome Write(const std::string& makerPath,
                                        const std::vector<std::string>& choices, std::ostream& out);
};

}  // namespace zpxtool
