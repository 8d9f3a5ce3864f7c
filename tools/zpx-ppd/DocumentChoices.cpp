#include "DocumentChoices.h"

#include "PPDX/UserChoice.h"
#include "Tool.h"

namespace zpxtool {
namespace {

using Outcome = DocumentChoices::Outcome;

// Sets one choice; `control` is the option it names. The value the option
// keeps is taken as it is.
Outcome ApplyChoice(ZPXPPD& document, const std::string& choice, PPDXControl*& control) {
  const size_t equals = choice.find('=');
  if (equals == std::string::npos || equals == 0)
    return {kExitNotPPD, "\"" + choice + "\" is not KEY=VALUE"};
  std::string key = choice.substr(0, equals);
  if (key[0] != '*') key.insert(0, "*");
  const std::string value = choice.substr(equals + 1);
  UserChoice judge(document);
  control = judge.Judge(key, value).control;
  if (control == nullptr) return {kExitNotPPD, "unknown option " + key};
  const UserChoice::Answer answer = judge.Apply(*control, value);
  switch (answer.verdict) {
    case UserChoice::Verdict::kNoteRefused:
      return {kExitUsage, answer.refusal};
    case UserChoice::Verdict::kValueRefused:
      return {kExitNotPPD, answer.refusal};
    default:
      return {kExitPPD, ""};
  }
}

}  // namespace

DocumentChoices::Outcome DocumentChoices::Apply(ZPXPPD& document,
                                                const std::vector<std::string>& choices) {
  std::vector<PPDXControl*> given;
  for (const std::string& choice : choices) {
    PPDXControl* control = nullptr;
    const Outcome outcome = ApplyChoice(document, choice, control);
    if (outcome.status != kExitPPD) return outcome;
    given.push_back(control);
  }
  const UserChoice::Answer conflict = UserChoice(document).Forbidden(given);
  if (!conflict.Taken()) return {kExitNotPPD, conflict.refusal};
  return {kExitPPD, ""};
}

}  // namespace zpxtool
