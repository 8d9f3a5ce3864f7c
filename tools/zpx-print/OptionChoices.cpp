#include "OptionChoices.h"

#include <cstring>

#include "PPDX/OptionValues.h"
#include "PPDX/PPDObjects/Controls/PPDXJobNote.h"
#include "PPDX/ZPXPPD.h"

namespace {

CFStringRef CreateText(const std::string& text) {
  return CFStringCreateWithCString(kCFAllocatorDefault, text.c_str(), kCFStringEncodingUTF8);
}

// Installable options describe the printer, not the job: the options the
// model marks so, and those of the PPD's installable-options group.
bool IsInstallable(PPDXControl& control) {
  if (control.IsInstallableOption()) return true;
  PPDXElement* group = control.GetParent();
  const char* name = group != nullptr ? group->Keyword() : nullptr;
  return name != nullptr &&
         (std::strcmp(name, "InstallableOptions") == 0 || std::strcmp(name, "ZPPPInstallableOptions") == 0);
}

bool ReadsBack(ZPXPPD& document, CFStringRef key, CFStringRef value) {
  CFRef<CFStringRef> stored(document.CopyValueForKey(key));
  return stored && CFEqual(stored.get(), value);
}

// The option a user sets under the key, or null with `failure` saying why not.
PPDXControl* UserOption(ZPXPPD& document, const std::string& key, PrintFailure& failure) {
  CFRef<CFStringRef> keyText(CreateText(key));
  PPDXControl* control = keyText ? document.GetPPDXControlForKey(keyText.get()) : nullptr;
  if (control == nullptr) {
    failure = PrintFailure::BadInput("no option " + key);
  } else if (IsInstallable(*control) || control->Type() == CNTL_SPECIAL) {
    failure = PrintFailure::BadInput("option " + key + " is not one a user sets");
    control = nullptr;
  }
  return control;
}

PrintFailure Apply(ZPXPPD& document, PPDXControl* control, const OptionChoices::Choice& choice) {
  const std::string& key = choice.first;
  const std::string& value = choice.second;
  CFRef<CFStringRef> keyText(CreateText(key));
  CFRef<CFStringRef> valueText(CreateText(value));
  if (auto* note = dynamic_cast<PPDXJobNote*>(control)) {
    JobNoteTextRule::Verdict verdict = note->TextRule().Judge(value.c_str());
    if (verdict != JobNoteTextRule::kAccepted)
      return PrintFailure::BadInput("option " + key + " refuses \"" + value +
                                    "\": " + JobNoteTextRule::Describe(verdict));
    // A note's stored value is sealed; a user gives the plain text.
    note->SetNotes(value.c_str());
    return PrintFailure::None();
  }
  if (!valueText || !OptionValues::Takes(*control, value.c_str()))
    return PrintFailure::BadInput("option " + key + " has no value \"" + value + "\"");
  document.SetValueForKey(keyText.get(), valueText.get());
  if (!ReadsBack(document, keyText.get(), valueText.get()))
    return PrintFailure::BadInput("option " + key + " does not take \"" + value + "\"");
  return PrintFailure::None();
}

}  // namespace

PrintFailure OptionChoices::Check(const std::string& ppdPath, CFDictionaryRef remembered,
                                  const std::vector<Choice>& jobOptions,
                                  const std::vector<Choice>& choices, CFRef<CFDictionaryRef>& values) {
  CFRef<CFURLRef> url(CFURLCreateFromFileSystemRepresentation(
      kCFAllocatorDefault, reinterpret_cast<const UInt8*>(ppdPath.c_str()), CFIndex(ppdPath.size()),
      false));
  if (!url) return PrintFailure::BadInput("cannot read the PPD " + ppdPath);
  ZPXPPD* document = new ZPXPPD(url.get(), PARSE_ALL, nullptr);
  if (remembered != nullptr) document->SetAllValues(remembered);
  PrintFailure failure;
  std::vector<Choice> applied;
  for (const Choice& option : jobOptions) {
    PrintFailure ignored;
    PPDXControl* control = UserOption(*document, option.first, ignored);
    if (control != nullptr) failure = Apply(*document, control, option);
    if (failure.Failed()) break;
    if (control != nullptr) applied.push_back(option);
  }
  for (size_t index = 0; !failure.Failed() && index < choices.size(); ++index) {
    PPDXControl* control = UserOption(*document, choices[index].first, failure);
    if (control != nullptr) failure = Apply(*document, control, choices[index]);
    applied.push_back(choices[index]);
  }
  for (size_t index = 0; !failure.Failed() && index < applied.size(); ++index) {
    const Choice& choice = applied[index];
    if (document->IsKVConstrained(choice.first.c_str(), choice.second.c_str()))
      failure = PrintFailure::BadInput("the constraints forbid " + choice.first + " " + choice.second);
  }
  if (!failure.Failed()) values.reset(document->CopyAllValues());
  document->Release();
  return failure;
}
