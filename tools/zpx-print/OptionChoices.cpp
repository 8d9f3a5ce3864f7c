#include "OptionChoices.h"

#include <strings.h>

#include <algorithm>

#include "PPDX/PPDObjects/Controls/PPDXJobNote.h"
#include "PPDX/PPDRef.h"
#include "PPDX/UserChoice.h"
#include "PPDX/ZPXPPD.h"
#include "ServerOptionValue.h"
#include "cf/CFFileURL.h"
#include "cf/CFText.h"
#include "plugin/TextBuffer.h"

namespace {

constexpr const char* kForgetting = "forgetting a remembered choice: ";
// The destination that copies the job to a file, and the note that names the file.
constexpr const char* kDestinationKey = "*ZPDestination";
constexpr const char* kFileDestination = "File";
constexpr const char* kDestinationPathKey = "*ZPMailboxName";
// What the messages call the queue when the printer is a PPD file.
constexpr const char* kAnyQueue = "QUEUE";

PrintFailure Failure(const UserChoice::Answer& answer) {
  return answer.Taken() ? PrintFailure::None() : PrintFailure::BadInput(answer.refusal);
}

// The key as lpadmin and lp take it.
std::string WithoutStar(const std::string& key) {
  return key.rfind('*', 0) == 0 ? key.substr(1) : key;
}

bool Contains(const std::vector<PPDXControl*>& controls, const PPDXControl* control) {
  return std::find(controls.begin(), controls.end(), control) != controls.end();
}

// A remembered note's sealed text, opened by the note and judged by its rule.
PrintFailure RestoreNote(ZPXPPD& document, PPDXJobNote& note, const std::string& key,
                         CFStringRef sealed) {
  note.SetPresetValueString(sealed);
  CFRef<CFStringRef> resealed(note.CopyPresetValueString());
  if (!resealed || !CFEqual(resealed.get(), sealed))
    return PrintFailure::BadInput("the text of " + key + " does not decrypt");
  const char* text = note.GetNotes();
  return Failure(UserChoice(document).JudgeValue(note, text != nullptr ? text : ""));
}

PrintFailure Apply(ZPXPPD& document, PPDXControl& control, const std::string& value) {
  return Failure(UserChoice(document).Apply(control, value));
}

// A job option in the print server's forms, checked as the -o choice it
// stands for.
PrintFailure ApplyServerValue(ZPXPPD& document, PPDXControl& control, const std::string& given) {
  std::string value;
  const std::string refusal = ServerOptionValue::Decode(control, given, value);
  return refusal.empty() ? Apply(document, control, value) : PrintFailure::BadInput(refusal);
}

// What the message adds when the other side of a conflict is no choice of
// this job but one remembered from an earlier run.
std::string RememberedOtherSide(ZPXPPD& document, const UserChoice::Answer& conflict,
                                const std::vector<PPDXControl*>& given,
                                const std::vector<PPDXControl*>& remembered) {
  CFRef<CFStringRef> key(CreateText(conflict.otherKey));
  PPDXControl* other = key ? document.GetPPDXControlForKey(key.get()) : nullptr;
  if (other == nullptr || Contains(given, other) || !Contains(remembered, other)) return "";
  return ", remembered from an earlier run (--forget drops the remembered choices)";
}

// The first of the given controls whose value the constraints forbid under
// the final selections.
PrintFailure Forbidden(ZPXPPD& document, const std::vector<PPDXControl*>& given,
                       const std::vector<PPDXControl*>& remembered) {
  const UserChoice::Answer conflict = UserChoice(document).Forbidden(given);
  if (conflict.Taken()) return PrintFailure::None();
  return PrintFailure::BadInput(conflict.refusal +
                                RememberedOtherSide(document, conflict, given, remembered));
}

std::string CurrentValue(ZPXPPD& document, const char* key) {
  CFRef<CFStringRef> keyText(CreateText(key));
  PPDXControl* control = document.GetPPDXControlForKey(keyText.get());
  CFRef<CFStringRef> value(control != nullptr ? control->CopyCurrentControlValueString() : nullptr);
  return value ? UTF8Text(value.get()) : "";
}

// The extension copies a job sent to the file destination to the file the
// path note names; without a path there is no file to make.
PrintFailure CheckFileDestination(ZPXPPD& document) {
  if (strcasecmp(CurrentValue(document, kDestinationKey).c_str(), kFileDestination) != 0 ||
      !CurrentValue(document, kDestinationPathKey).empty())
    return PrintFailure::None();
  return PrintFailure::BadInput(std::string(kDestinationKey) + " " + kFileDestination +
                                " needs the file's path in " + kDestinationPathKey);
}

// The dictionary's entries with text keys, in the keys' order.
std::vector<std::pair<std::string, CFTypeRef>> SortedEntries(CFDictionaryRef dictionary) {
  const size_t count = size_t(CFDictionaryGetCount(dictionary));
  std::vector<const void*> keys(count), values(count);
  CFDictionaryGetKeysAndValues(dictionary, keys.data(), values.data());
  std::vector<std::pair<std::string, CFTypeRef>> entries;
  for (size_t index = 0; index < count; ++index)
    if (CFGetTypeID(keys[index]) == CFStringGetTypeID())
      entries.emplace_back(UTF8Text(static_cast<CFStringRef>(keys[index])), values[index]);
  std::sort(entries.begin(), entries.end());
  return entries;
}

}  // namespace

PrintFailure OptionChoices::Check(const std::string& ppdPath, CFDictionaryRef remembered,
                                  const std::vector<Choice>& jobOptions,
                                  const std::vector<Choice>& choices) {
  CFRef<CFURLRef> url(CreateFileURL(ppdPath));
  if (!url) return PrintFailure::BadInput("cannot read the PPD " + ppdPath);
  PPDRef<ZPXPPD> document(new ZPXPPD(url.get(), PARSE_ALL, nullptr));
  const std::vector<PPDXControl*> restored =
      remembered != nullptr ? Restore(*document, remembered) : std::vector<PPDXControl*>();
  PrintFailure failure;
  std::vector<PPDXControl*> applied;
  for (const Choice& option : jobOptions) {
    PrintFailure ignored;
    PPDXControl* control = UserOption(*document, option, ignored);
    if (control != nullptr) failure = ApplyServerValue(*document, *control, option.second);
    if (failure.Failed()) break;
    if (control != nullptr) applied.push_back(control);
  }
  for (size_t index = 0; !failure.Failed() && index < choices.size(); ++index) {
    PPDXControl* control = UserOption(*document, choices[index], failure);
    if (control == nullptr) break;
    failure = Apply(*document, *control, choices[index].second);
    applied.push_back(control);
  }
  if (!failure.Failed()) failure = Forbidden(*document, applied, restored);
  if (!failure.Failed()) failure = CheckFileDestination(*document);
  if (!failure.Failed()) {
    mValues.reset(document->CopyAllValues());
    ListNeverRemembered(*document);
  }
  return failure;
}

std::vector<PPDXControl*> OptionChoices::Restore(ZPXPPD& document, CFDictionaryRef remembered) {
  std::vector<PPDXControl*> taken;
  for (const auto& [key, value] : SortedEntries(remembered)) {
    PPDXControl* control = RestoreValue(document, key, value);
    if (control != nullptr) taken.push_back(control);
  }
  // Each in turn, so that of two that forbid each other the second stays.
  std::vector<PPDXControl*> kept;
  for (PPDXControl* control : taken) {
    const UserChoice::Answer conflict = UserChoice(document).Forbidden({control});
    if (conflict.Taken()) {
      kept.push_back(control);
      continue;
    }
    control->ResetToDefaultValue();
    mForgotten.push_back(kForgetting + conflict.refusal);
  }
  return kept;
}

PPDXControl* OptionChoices::RestoreValue(ZPXPPD& document, const std::string& key,
                                         CFTypeRef value) {
  PrintFailure failure;
  const bool isText = CFGetTypeID(value) == CFStringGetTypeID();
  PPDXControl* control =
      UserOption(document, {key, isText ? UTF8Text(static_cast<CFStringRef>(value)) : ""}, failure);
  if (control != nullptr && UserChoice::IsSecret(*control)) return nullptr;
  if (control != nullptr && !isText)
    failure = PrintFailure::BadInput("option " + key + " has no text");
  if (failure.Failed()) {
    mForgotten.push_back(kForgetting + failure.mMessage);
    return nullptr;
  }
  CFStringRef text = static_cast<CFStringRef>(value);
  CFRef<CFStringRef> preset(control->CopyPresetValueString());
  if (preset && CFEqual(preset.get(), text)) return nullptr;  // the PPD's own
  auto* note = dynamic_cast<PPDXJobNote*>(control);
  failure = note != nullptr ? RestoreNote(document, *note, key, text)
                            : Apply(document, *control, UTF8Text(text));
  if (!failure.Failed()) return control;
  control->ResetToDefaultValue();
  mForgotten.push_back(kForgetting + failure.mMessage);
  return nullptr;
}

PPDXControl* OptionChoices::UserOption(ZPXPPD& document, const Choice& choice,
                                       PrintFailure& failure) const {
  const std::string& key = choice.first;
  const UserChoice::Answer answer = UserChoice(document).Judge(key, choice.second);
  switch (answer.verdict) {
    case UserChoice::Verdict::kUnknownOption:
    case UserChoice::Verdict::kNotUserSet:
      failure = PrintFailure::BadInput(answer.refusal);
      return nullptr;
    case UserChoice::Verdict::kInstallable:
      failure = PrintFailure::BadInput(answer.refusal + ": it is set on the queue (lpadmin -p " +
                                       (mQueue.empty() ? kAnyQueue : mQueue) + " -o " +
                                       WithoutStar(key) + "=" + choice.second + ") or in the PPD");
      return nullptr;
    default:
      return answer.control;
  }
}

void OptionChoices::ListNeverRemembered(ZPXPPD& document) {
  for (const auto& entry : SortedEntries(mValues.get())) {
    CFRef<CFStringRef> key(CreateText(entry.first));
    PPDXControl* control = document.GetPPDXControlForKey(key.get());
    if (control != nullptr &&
        (UserChoice::IsSecret(*control) || UserChoice::IsInstallable(*control)))
      mNeverRemembered.push_back(entry.first);
  }
}
