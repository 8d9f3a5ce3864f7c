#pragma once
// What every fuzzed document must bear: each query the dialog and the job make
// answers without leaving its buffers, and the document saves into a blob that
// rebuilds into a document of the same controls, values and feature codes.

#include <cstdio>
#include <memory>
#include <string>

#include "FuzzCheck.h"
#include "PPDX/PPDObjects/Controls/PPDXPopupControl.h"
#include "PPDX/PPDObjects/PPDXControls.h"
#include "PPDX/ZPXPPD.h"
#include "carbon/MacMemory.h"
#include "foundation/CString.h"
#include "foundation/Settings.h"

namespace documentchecks {

inline std::string FeatureCode(PPDXControl& control) {
  long size = control.PostScript(nullptr);
  FUZZ_CHECK(size >= 0);
  std::string code(size_t(size), '\0');
  if (size > 0) FUZZ_CHECK(control.PostScript(reinterpret_cast<unsigned char*>(&code[0])) == size);
  return code;
}

// Keyword, value and feature code of every control (the custom size, which a
// blob does not keep, left out), and the constraint answer of every choice.
inline std::string Summary(ZPXPPD& document) {
  std::string summary;
  PPDXControls* controls = document.GetControls();
  CNTL_TYPE type;
  for (PPDXControl* control = controls->First(type); control != nullptr;
       control = controls->Next(type)) {
    if (type == CNTL_CUSTOMPAGESIZE || control->Keyword() == nullptr) continue;
    summary += control->Keyword();
    if (CFStringRef value = control->CopyCurrentControlValueString()) {
      const CString text(value);
      const char* chars = text;
      summary += std::string("=") + (chars != nullptr ? chars : "");
      CFRelease(value);
    }
    summary += "\n" + FeatureCode(*control);
    auto* popup = dynamic_cast<PPDXPopupControl*>(control);
    for (_PopupItem* item = popup ? popup->FirstItem() : nullptr; item; item = popup->NextItem()) {
      if (item->keyword != nullptr)
        summary += document.IsKVConstrained(control->Keyword(), *item->keyword) ? "x" : ".";
    }
  }
  return summary;
}

inline std::unique_ptr<Settings> SavedAndFlattened(ZPXPPD& document) {
  Settings settings;
  FUZZ_CHECK(document.Save(settings));
  char** flattened = nullptr;
  FUZZ_CHECK(settings.GetSettingsHandle(&flattened) == 0);
  std::unique_ptr<Settings> received(new Settings(flattened));
  DisposeHandle(flattened);
  return received;
}

// Every control walked, the values copied out and put back, and the rebuild
// of the saved document equal to it.
inline void Exercise(ZPXPPD& document) {
  _DISPLAY_OPTIONS_ saved = ZPXPPD::Options();
  ZPXPPD::Options(DISPLAY_ALL);
  CFMutableDictionaryRef values = document.CopyAllValues();
  document.SetAllValues(values);
  CFRelease(values);
  std::string before = Summary(document);
  std::unique_ptr<Settings> blob = SavedAndFlattened(document);
  ZPXPPD rebuilt(*blob, nullptr, nullptr);
  FUZZ_CHECK(rebuilt.IsValidPPD());
  std::string after = Summary(rebuilt);
  if (after != before)
    std::fprintf(stderr, "saved:\n%s\nrebuilt:\n%s\n", before.c_str(), after.c_str());
  FUZZ_CHECK(after == before);
  ZPXPPD::Options(saved);
}

}  // namespace documentchecks
