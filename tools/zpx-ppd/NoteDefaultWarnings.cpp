#include "NoteDefaultWarnings.h"

#include "PPDX/PPDObjects/Controls/PPDXJobNote.h"
#include "PPDX/PPDObjects/PPDXControls.h"
#include "PPDX/ZPXPPD.h"

namespace zpxtool {

std::vector<Warning> NoteDefaultWarnings(ZPXPPD& document, const ScanReport& report) {
  std::vector<Warning> warnings;
  for (const NoteDefault& given : report.noteDefaults) {
    PPDXJobNote* note = document.GetControls()->FindJobNote(given.keyword.c_str(), true);
    const std::string refusal = note != nullptr ? note->Refusal(given.text.c_str()) : "";
    if (!refusal.empty()) warnings.push_back({given.line, given.keyword, refusal});
  }
  return warnings;
}

}  // namespace zpxtool
