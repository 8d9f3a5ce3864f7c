// "-o KEY=VALUE" arguments, checked against the option before they are set
// and against the constraints once all are set.

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "PPDX/UserChoice.h"
#include "Tool.h"

namespace zpxtool {
namespace {

// A refusal on standard error; `status` the exit status it leads to.
int Refuse(const std::string& refusal, int status) {
  std::fprintf(stderr, "%s: %s\n", kTool, Printable(refusal.c_str()).c_str());
  return status;
}

// Sets one choice; `control` is the option it names. The tool sets the options
// a PPD's author sets too (installable and special ones), and takes the value
// the option keeps; a note's text its rule refuses is a usage error.
int ApplyOption(ZPXPPD& document, const char* argument, PPDXControl*& control) {
  const char* equals = std::strchr(argument, '=');
  if (equals == nullptr || equals == argument) {
    std::fprintf(stderr, "%s: \"%s\" is not KEY=VALUE\n", kTool, Printable(argument).c_str());
    return kExitNotPPD;
  }
  std::string key(argument, size_t(equals - argument));
  if (key[0] != '*') key.insert(0, "*");
  const char* value = equals + 1;
  UserChoice choice(document);
  control = choice.Judge(key, value).control;
  if (control == nullptr) return Refuse("unknown option " + key, kExitNotPPD);
  const UserChoice::Answer answer = choice.Apply(*control, value);
  switch (answer.verdict) {
    case UserChoice::Verdict::kNoteRefused:
      return Refuse(answer.refusal, kExitUsage);
    case UserChoice::Verdict::kValueRefused:
      return Refuse(answer.refusal, kExitNotPPD);
    default:
      return kExitPPD;
  }
}

// The first given choice that the constraints forbid under the final choices.
int CheckConstraints(ZPXPPD& document, const std::vector<PPDXControl*>& given) {
  const UserChoice::Answer conflict = UserChoice(document).Forbidden(given);
  return conflict.Taken() ? kExitPPD : Refuse(conflict.refusal, kExitNotPPD);
}

}  // namespace

int ApplyOptions(ZPXPPD& document, int argc, char** argv) {
  std::vector<PPDXControl*> given;
  for (int i = 0; i < argc; i += 2) {
    if (std::strcmp(argv[i], "-o") != 0 || i + 1 >= argc) {
      std::fprintf(stderr, "%s: expected -o KEY=VALUE, found \"%s\"\n", kTool,
                   Printable(argv[i]).c_str());
      return kExitNotPPD;
    }
    PPDXControl* control = nullptr;
    const int status = ApplyOption(document, argv[i + 1], control);
    if (status != kExitPPD) return status;
    given.push_back(control);
  }
  return CheckConstraints(document, given);
}

}  // namespace zpxtool
