// "-o KEY=VALUE" arguments, checked against the option before they are set
// and against the constraints once all are set.

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "PPDX/ChoiceConflict.h"
#include "PPDX/OptionValues.h"
#include "PPDX/PPDObjects/Controls/PPDXJobNote.h"
#include "PPDX/ZPXPPD.h"
#include "Tool.h"
#include "cf/CFRef.h"
#include "cf/CoreFoundation.h"

namespace zpxtool {
namespace {

CFStringRef CreateText(const std::string& text) {
  return CFStringCreateWithCString(kCFAllocatorDefault, text.c_str(), kCFStringEncodingUTF8);
}

// A note's text goes into the job as it is: one its flags or lengths refuse is a
// usage error, named by the option and its rule alone (the text may be a PIN).
int ApplyNote(PPDXJobNote& note, const char* value) {
  const std::string refusal = note.Refusal(value);
  if (!refusal.empty()) {
    std::fprintf(stderr, "%s: %s\n", kTool, Printable(refusal.c_str()).c_str());
    return kExitUsage;
  }
  // A note's stored value is sealed; a user gives the plain text.
  note.SetNotes(value);
  return kExitPPD;
}

// Sets one choice; `control` is the option it names.
int ApplyOption(ZPXPPD& document, const char* argument, PPDXControl*& control) {
  const char* equals = std::strchr(argument, '=');
  if (equals == nullptr || equals == argument) {
    std::fprintf(stderr, "%s: \"%s\" is not KEY=VALUE\n", kTool, Printable(argument).c_str());
    return kExitNotPPD;
  }
  std::string key(argument, size_t(equals - argument));
  if (key[0] != '*') key.insert(0, "*");
  const char* value = equals + 1;
  CFRef<CFStringRef> keyText(CreateText(key));
  CFRef<CFStringRef> valueText(CreateText(value));
  control = keyText ? document.GetPPDXControlForKey(keyText.get()) : nullptr;
  if (control == nullptr) {
    std::fprintf(stderr, "%s: unknown option %s\n", kTool, Printable(key.c_str()).c_str());
    return kExitNotPPD;
  }
  auto* note = dynamic_cast<PPDXJobNote*>(control);
  if (note != nullptr) return ApplyNote(*note, value);
  const std::string refusal = valueText ? OptionValues::Refusal(*control, value)
                                        : "option " + key + " has no value \"" + value + "\"";
  if (!refusal.empty()) {
    std::fprintf(stderr, "%s: %s\n", kTool, Printable(refusal.c_str()).c_str());
    return kExitNotPPD;
  }
  document.SetValueForKey(keyText.get(), valueText.get());
  return kExitPPD;
}

// The first given choice that the constraints forbid under the final choices.
int CheckConstraints(ZPXPPD& document, const std::vector<PPDXControl*>& given) {
  for (PPDXControl* control : given) {
    ChoiceConflict conflict(document, *control);
    if (!conflict.Exists()) continue;
    std::fprintf(stderr, "%s: %s\n", kTool, Printable(conflict.Describe().c_str()).c_str());
    return kExitNotPPD;
  }
  return kExitPPD;
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
