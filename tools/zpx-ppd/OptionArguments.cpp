// "-o KEY=VALUE" arguments, set as DocumentChoices sets them.

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "DocumentChoices.h"
#include "Tool.h"

namespace zpxtool {

bool ReadChoiceArguments(int argc, char** argv, std::vector<std::string>& choices) {
  for (int i = 0; i < argc; i += 2) {
    if (std::strcmp(argv[i], "-o") != 0 || i + 1 >= argc) {
      std::fprintf(stderr, "%s: expected -o KEY=VALUE, found \"%s\"\n", kTool,
                   Printable(argv[i]).c_str());
      return false;
    }
    choices.push_back(argv[i + 1]);
  }
  return true;
}

int ApplyOptions(ZPXPPD& document, int argc, char** argv) {
  std::vector<std::string> choices;
  if (!ReadChoiceArguments(argc, argv, choices)) return kExitNotPPD;
  const DocumentChoices::Outcome outcome = DocumentChoices::Apply(document, choices);
  if (outcome.status != kExitPPD)
    std::fprintf(stderr, "%s: %s\n", kTool, Printable(outcome.refusal.c_str()).c_str());
  return outcome.status;
}

}  // namespace zpxtool
