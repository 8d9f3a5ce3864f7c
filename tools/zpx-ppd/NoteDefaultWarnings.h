#pragma once
// The warnings of check and dump: a job note's PPD default that the note's own
// flags or lengths refuse. The note keeps it (the flags only describe the
// field), but no person could have typed it there, so the maker should know.

#include <string>
#include <vector>

#include "PPDScanner.h"

class ZPXPPD;

namespace zpxtool {

struct Warning {
  long line;
  std::string keyword;
  std::string description;  // the note's refusal, which never quotes the text
};

// One warning per default in `report` that the document's note of that
// keyword refuses, in the order of the file.
std::vector<Warning> NoteDefaultWarnings(ZPXPPD& document, const ScanReport& report);

}  // namespace zpxtool
