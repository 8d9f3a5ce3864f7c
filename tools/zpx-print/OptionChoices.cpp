#include "OptionChoices.h"

#include <strings.h>

#include <algorithm>
#include <cstring>

#include "PPDX/OptionValues.h"
#include "PPDX/PPDObjects/Controls/PPDXJobNote.h"
#include "PPDX/ZPXPPD.h"
#include "plugin/TextBuffer.h"

namespace {

constexpr const char* kForgetting = "forgetting a remembered choice: ";
// The destination that copies the job to a file, and the note that names the file.
constexpr const char* kDestinationKey = "*ZPDestination";
constexpr const char* kFileDestination = "File";
constexpr const char* kDestinationPathKey = "*ZPMailboxName";

CFStringRef CreateText(const std::string& text) {
  return CFStringCreateWithCString(kCFAllocatorDefault, text.c_str(), kCFStringEncodingUTF8);
}

std::string Text(CFStringRef text) { return EncodedText(text, kCFStringEncodingUTF8); }

// Installable options describe the printer, not the job: the options the
// model marks so, and those of the PPD's installable-options group.
bool IsInstallable(PPDXControl& control) {
  if (control.IsInstallableOption()) return true;
  PPDXElement* group = control.GetParent();
  const char* name = group != nullptr ? group->Keyword() : nullptr;
  return name != nullptr &&
         (std::strcmp(name, "InstallableOptions") == 0 || std::strcmp(name, "ZPPPInstallableOptions") == 0);
}

// PINs and passwords: they serve the one job they are given for.
bool IsSecret(PPDXControl& control) {
  auto* note = dynamic_cast<PPDXJobNote*>(&control);
  return note != nullptr && (note->IsPassword() || note->IsEncrypt());
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
  } else if (IsInstallable(*control)) {
    failure = PrintFailure::BadInput("option " + key + " is installable: the PPD or the queue sets it");
    control = nullptr;
  } else if (control->Type() == CNTL_SPECIAL) {
    failure = PrintFailure::BadInput("option " + key + " is not one a user sets");
    control = nullptr;
  }
  return control;
}

// The note's own check of a text, named by option and rule, never by the text.
PrintFailure JudgeNote(const PPDXJobNote& note, const char* text) {
  const std::string refusal = note.Refusal(text);
  return refusal.empty() ? PrintFailure::None() : PrintFailure::BadInput(refusal);
}

PrintFailure Apply(ZPXPPD& document, PPDXControl* control, const OptionChoices::Choice& choice) {
  const std::string& key = choice.first;
  const std::string& value = choice.second;
  if (auto* note = dynamic_cast<PPDXJobNote*>(control)) {
    PrintFailure failure = JudgeNote(*note, value.c_str());
    // A note's stored value is sealed; a user gives the plain text.
    if (!failure.Failed()) note->SetNotes(value.c_str());
    return failure;
  }
  CFRef<CFStringRef> keyText(CreateText(key));
  CFRef<CFStringRef> valueText(CreateText(value));
  if (!valueText || !OptionValues::Takes(*control, value.c_str()))
    return PrintFailure::BadInput("option " + key + " has no value \"" + value + "\"");
  document.SetValueForKey(keyText.get(), valueText.get());
  if (!ReadsBack(document, keyText.get(), valueText.get()))
    return PrintFailure::BadInput("option " + key + " does not take \"" + value + "\"");
  return PrintFailure::None();
}

// A remembered note's sealed text, opened by the note and judged by its rule.
PrintFailure RestoreNote(PPDXJobNote& note, const std::string& key, CFStringRef sealed) {
  note.SetPresetValueString(sealed);
  CFRef<CFStringRef> resealed(note.CopyPresetValueString());
  if (!resealed || !CFEqual(resealed.get(), sealed))
    return PrintFailure::BadInput("the text of " + key + " does not decrypt");
  return JudgeNote(note, note.GetNotes());
}

// Whether the constraints forbid the control's current value.
PrintFailure Forbidden(ZPXPPD& document, PPDXControl& control) {
  CFRef<CFStringRef> current(control.CopyCurrentControlValueString());
  const std::string key = control.Keyword() != nullptr ? control.Keyword() : "";
  const std::string value = current ? Text(current.get()) : "";
  if (!document.IsKVConstrained(key.c_str(), value.c_str())) return PrintFailure::None();
  const bool isNote = dynamic_cast<PPDXJobNote*>(&control) != nullptr;
  return PrintFailure::BadInput("the constraints forbid " + key + (isNote ? "'s text" : " " + value));
}

std::string CurrentValue(ZPXPPD& document, const char* key) {
  CFRef<CFStringRef> keyText(CreateText(key));
  PPDXControl* control = document.GetPPDXControlForKey(keyText.get());
  CFRef<CFStringRef> value(control != nullptr ? control->CopyCurrentControlValueString() : nullptr);
  return value ? Text(value.get()) : "";
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
      entries.emplace_back(Text(static_cast<CFStringRef>(keys[index])), values[index]);
  std::sort(entries.begin(), entries.end());
  return entries;
}

}  // namespace

PrintFailure OptionChoices::Check(const std::string& ppdPath, CFDictionaryRef remembered,
                                  const std::vector<Choice>& jobOptions, const std::vector<Choice>& choices) {
  CFRef<CFURLRef> url(CFURLCreateFromFileSystemRepresentation(
      kCFAllocatorDefault, reinterpret_cast<const UInt8*>(ppdPath.c_str()), CFIndex(ppdPath.size()),
      false));
  if (!url) return PrintFailure::BadInput("cannot read the PPD " + ppdPath);
  ZPXPPD* document = new ZPXPPD(url.get(), PARSE_ALL, nullptr);
  if (remembered != nullptr) Restore(*document, remembered);
  PrintFailure failure;
  std::vector<PPDXControl*> applied;
  for (const Choice& option : jobOptions) {
    PrintFailure ignored;
    PPDXControl* control = UserOption(*document, option.first, ignored);
    if (control != nullptr) failure = Apply(*document, control, option);
    if (failure.Failed()) break;
    if (control != nullptr) applied.push_back(control);
  }
  for (size_t index = 0; !failure.Failed() && index < choices.size(); ++index) {
    PPDXControl* control = UserOption(*document, choices[index].first, failure);
    if (control == nullptr) break;
    failure = Apply(*document, control, choices[index]);
    applied.push_back(control);
  }
  for (size_t index = 0; !failure.Failed() && index < applied.size(); ++index)
    failure = Forbidden(*document, *applied[index]);
  if (!failure.Failed()) failure = CheckFileDestination(*document);
  if (!failure.Failed()) {
    mValues.reset(document->CopyAllValues());
    ListNeverRemembered(*document);
  }
  document->Release();
  return failure;
}

void OptionChoices::Restore(ZPXPPD& document, CFDictionaryRef remembered) {
  std::vector<PPDXControl*> restored;
  for (const auto& [key, value] : SortedEntries(remembered)) {
    PPDXControl* control = RestoreValue(document, key, value);
    if (control != nullptr) restored.push_back(control);
  }
  // Each in turn, so that of two that forbid each other the second stays.
  for (PPDXControl* control : restored) {
    PrintFailure forbidden = Forbidden(document, *control);
    if (!forbidden.Failed()) continue;
    control->ResetToDefaultValue();
    mForgotten.push_back(kForgetting + forbidden.mMessage);
  }
}

PPDXControl* OptionChoices::RestoreValue(ZPXPPD& document, const std::string& key, CFTypeRef value) {
  PrintFailure failure;
  PPDXControl* control = UserOption(document, key, failure);
  if (control != nullptr && IsSecret(*control)) return nullptr;
  if (control != nullptr && CFGetTypeID(value) != CFStringGetTypeID())
    failure = PrintFailure::BadInput("option " + key + " has no text");
  if (failure.Failed()) {
    mForgotten.push_back(kForgetting + failure.mMessage);
    return nullptr;
  }
  CFStringRef text = static_cast<CFStringRef>(value);
  CFRef<CFStringRef> preset(control->CopyPresetValueString());
  if (preset && CFEqual(preset.get(), text)) return nullptr;  // the PPD's own
  auto* note = dynamic_cast<PPDXJobNote*>(control);
  failure = note != nullptr ? RestoreNote(*note, key, text) : Apply(document, control, {key, Text(text)});
  if (!failure.Failed()) return control;
  control->ResetToDefaultValue();
  mForgotten.push_back(kForgetting + failure.mMessage);
  return nullptr;
}

void OptionChoices::ListNeverRemembered(ZPXPPD& document) {
  for (const auto& entry : SortedEntries(mValues.get())) {
    CFRef<CFStringRef> key(CreateText(entry.first));
    PPDXControl* control = document.GetPPDXControlForKey(key.get());
    if (control != nullptr && (IsSecret(*control) || IsInstallable(*control)))
      mNeverRemembered.push_back(entry.first);
  }
}
