#include "PPDX/UserChoice.h"

#include <cstring>
#include <utility>

#include "PPDX/ChoiceConflict.h"
#include "PPDX/OptionValues.h"
#include "PPDX/PPDObjects/Controls/PPDXJobNote.h"
#include "PPDX/PPDObjects/PPDXControls.h"
#include "PPDX/ZPXPPD.h"
#include "cf/CFRef.h"
#include "cf/CFText.h"

namespace {

UserChoice::Answer Refused(UserChoice::Verdict verdict, std::string refusal, PPDXControl* control) {
  UserChoice::Answer answer;
  answer.verdict = verdict;
  answer.refusal = std::move(refusal);
  answer.control = control;
  return answer;
}

UserChoice::Answer TakenBy(PPDXControl& control) {
  UserChoice::Answer answer;
  answer.control = &control;
  return answer;
}

const char* ParentKeyword(PPDXControl& control) {
  PPDXElement* group = control.GetParent();
  return group != nullptr ? group->Keyword() : nullptr;
}

bool ReadsBack(ZPXPPD& document, CFStringRef key, CFStringRef value) {
  CFRef<CFStringRef> stored(document.CopyValueForKey(key));
  return stored && CFEqual(stored.get(), value);
}

}  // namespace

bool UserChoice::IsInstallableGroup(const char* keyword) {
  return keyword != nullptr && (std::strcmp(keyword, kInstallableGroup) == 0 ||
                                std::strcmp(keyword, kMakerInstallableGroup) == 0);
}

bool UserChoice::IsInstallable(PPDXControl& control) {
  return control.IsInstallableOption() || IsInstallableGroup(ParentKeyword(control));
}

bool UserChoice::IsSecret(const PPDXControl& control) {
  const auto* note = dynamic_cast<const PPDXJobNote*>(&control);
  return note != nullptr && (note->IsPassword() || note->IsEncrypt());
}

UserChoice::Answer UserChoice::Judge(const std::string& key, const std::string& value) const {
  CFRef<CFStringRef> keyText(CreateText(key));
  PPDXControl* control = keyText ? mDocument.GetPPDXControlForKey(keyText.get()) : nullptr;
  if (control == nullptr) return Refused(Verdict::kUnknownOption, "no option " + key, nullptr);
  if (IsInstallable(*control))
    return Refused(Verdict::kInstallable, key + " is installable, not a job's choice", control);
  if (control->Type() == CNTL_SPECIAL)
    return Refused(Verdict::kNotUserSet, "option " + key + " is not one a user sets", control);
  return JudgeValue(*control, value);
}

UserChoice::Answer UserChoice::JudgeValue(PPDXControl& control, const std::string& value) const {
  if (auto* note = dynamic_cast<PPDXJobNote*>(&control)) {
    const std::string refusal = note->Refusal(value.c_str());
    return refusal.empty() ? TakenBy(control) : Refused(Verdict::kNoteRefused, refusal, &control);
  }
  CFRef<CFStringRef> valueText(CreateText(value));
  const std::string key = control.Keyword() != nullptr ? control.Keyword() : "";
  const std::string refusal = valueText ? OptionValues::Refusal(control, value.c_str())
                                        : "option " + key + " has no value \"" + value + "\"";
  return refusal.empty() ? TakenBy(control) : Refused(Verdict::kValueRefused, refusal, &control);
}

UserChoice::Answer UserChoice::Apply(PPDXControl& control, const std::string& value) {
  Answer answer = JudgeValue(control, value);
  if (!answer.Taken()) return answer;
  if (auto* note = dynamic_cast<PPDXJobNote*>(&control)) {
    // A note's stored value is sealed; a user gives the plain text.
    note->SetNotes(value.c_str());
    return answer;
  }
  const std::string key = control.Keyword() != nullptr ? control.Keyword() : "";
  CFRef<CFStringRef> keyText(CreateText(key));
  CFRef<CFStringRef> valueText(CreateText(value));
  mDocument.SetValueForKey(keyText.get(), valueText.get());
  if (!ReadsBack(mDocument, keyText.get(), valueText.get()))
    return Refused(Verdict::kNotReadBack, "option " + key + " does not take \"" + value + "\"",
                   &control);
  return answer;
}

UserChoice::Answer UserChoice::Forbidden(const std::vector<PPDXControl*>& given) const {
  for (PPDXControl* control : given) {
    ChoiceConflict conflict(mDocument, *control);
    if (!conflict.Exists()) continue;
    Answer answer = Refused(Verdict::kForbidden, conflict.Describe(), control);
    answer.otherKey = conflict.OtherKey();
    return answer;
  }
  return Answer();
}

void UserChoice::ResetJobOptions() {
  CNTL_TYPE type = CNTL_NONE;
  PPDXControls* controls = mDocument.GetControls();
  for (PPDXControl* control = controls->First(type); control != nullptr;
       control = controls->Next(type)) {
    if (ParentKeyword(*control) != nullptr && !IsInstallable(*control))
      control->ResetToDefaultValue();
  }
}
