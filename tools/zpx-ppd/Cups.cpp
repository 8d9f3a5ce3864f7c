// The cups command: the PPD a print server's queue is made with.

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "CupsPPD.h"
#include "Tool.h"

namespace zpxtool {

int Cups(int argc, char** argv) {
  if (argc < 1 || argc % 2 == 0) return Usage("cups FILE [-o KEY=VALUE ...]");
  std::vector<std::string> choices;
  if (!ReadChoiceArguments(argc - 1, argv + 1, choices)) return kExitNotPPD;
  // Whole or not at all: a refused choice leaves standard output empty.
  std::ostringstream ppd;
  const DocumentChoices::Outcome outcome = CupsPPD::Write(argv[0], choices, ppd);
  if (outcome.status != kExitPPD) {
    std::fprintf(stderr, "%s: %s\n", kTool, Printable(outcome.refusal.c_str()).c_str());
    return outcome.status;
  }
  const std::string text = ppd.str();
  if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() || std::fflush(stdout) != 0) {
    std::fprintf(stderr, "%s: the PPD could not be written to standard output\n", kTool);
    return kExitNotPPD;
  }
  return kExitPPD;
}

}  // namespace zpxtool
