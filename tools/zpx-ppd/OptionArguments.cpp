// "-o KEY=VALUE" arguments, checked against the option before they are set.

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "PPDX/PPDObjects/Controls/JobNoteTextRule.h"
#include "PPDX/PPDObjects/Controls/PPDXBooleanControl.h"
#include "PPDX/PPDObjects/Controls/PPDXFloatRangeControl.h"
#include "PPDX/PPDObjects/Controls/PPDXJobNote.h"
#include "PPDX/PPDObjects/Controls/PPDXPopupControl.h"
#include "PPDX/PPDObjects/Controls/PPDXRangeControl.h"
#include "PPDX/ZPXPPD.h"
#include "Tool.h"
#include "cf/CFRef.h"
#include "cf/CoreFoundation.h"
#include "foundation/CString.h"

namespace zpxtool {
namespace {

bool WholeNumber(const char* text, double& number) {
  if (*text == '\0') return false;
  char* end = nullptr;
  errno = 0;
  number = std::strtod(text, &end);
  return errno == 0 && *end == '\0';
}

bool InRange(const char* value, double minimum, double maximum) {
  double number;
  return WholeNumber(value, number) && number >= minimum && number <= maximum;
}

bool PopupHas(PPDXPopupControl& popup, const char* value) {
  for (_PopupItem* item = popup.FirstItem(); item != nullptr; item = popup.NextItem()) {
    if (item->keyword != nullptr && *item->keyword == value) return true;
  }
  return false;
}

// Whether the option can take the value; kinds without a value list take any.
bool OptionHas(PPDXControl& control, const char* value) {
  if (auto* popup = dynamic_cast<PPDXPopupControl*>(&control)) return PopupHas(*popup, value);
  if (dynamic_cast<PPDXBooleanControl*>(&control) != nullptr)
    return std::strcmp(value, "True") == 0 || std::strcmp(value, "False") == 0;
  if (auto* range = dynamic_cast<PPDXRangeControl*>(&control))
    return InRange(value, range->MinVal(), range->MaxVal());
  if (auto* range = dynamic_cast<PPDXFloatRangeControl*>(&control))
    return InRange(value, range->MinVal(), range->MaxVal());
  return true;
}

CFStringRef CreateText(const std::string& text) {
  return CFStringCreateWithCString(kCFAllocatorDefault, text.c_str(), kCFStringEncodingUTF8);
}

// A note's text goes into the job as it is: one its rule refuses is a usage error,
// named (escaped) with the reason.
int ApplyNote(PPDXJobNote& note, const std::string& key, const char* value) {
  const JobNoteTextRule::Verdict verdict = note.TextRule().Judge(value);
  if (verdict != JobNoteTextRule::kAccepted) {
    std::fprintf(stderr, "%s: option %s refuses \"%s\": %s\n", kTool, Printable(key.c_str()).c_str(),
                 Printable(value).c_str(), JobNoteTextRule::Describe(verdict));
    return kExitUsage;
  }
  // A note's stored value is sealed; a user gives the plain text.
  note.SetNotes(value);
  return kExitPPD;
}

int ApplyOption(ZPXPPD& document, const char* argument) {
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
  PPDXControl* control = keyText ? document.GetPPDXControlForKey(keyText.get()) : nullptr;
  if (control == nullptr) {
    std::fprintf(stderr, "%s: unknown option %s\n", kTool, Printable(key.c_str()).c_str());
    return kExitNotPPD;
  }
  auto* note = dynamic_cast<PPDXJobNote*>(control);
  if (valueText && note != nullptr) return ApplyNote(*note, key, value);
  if (!valueText || !OptionHas(*control, value)) {
    std::fprintf(stderr, "%s: option %s has no value \"%s\"\n", kTool,
                 Printable(key.c_str()).c_str(), Printable(value).c_str());
    return kExitNotPPD;
  }
  document.SetValueForKey(keyText.get(), valueText.get());
  return kExitPPD;
}

}  // namespace

int ApplyOptions(ZPXPPD& document, int argc, char** argv) {
  for (int i = 0; i < argc; i += 2) {
    if (std::strcmp(argv[i], "-o") != 0 || i + 1 >= argc) {
      std::fprintf(stderr, "%s: expected -o KEY=VALUE, found \"%s\"\n", kTool,
                   Printable(argv[i]).c_str());
      return kExitNotPPD;
    }
    const int status = ApplyOption(document, argv[i + 1]);
    if (status != kExitPPD) return status;
  }
  return kExitPPD;
}

}  // namespace zpxtool
