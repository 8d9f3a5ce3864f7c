#pragma once
// What the option-model tests share: the document-wide display option, set for a
// test and put back afterwards, and a settings store passed through its flattened
// form, as a saved document travels.

#include <memory>

#include "PPDX/PPDXDisplayOptions.h"
#include "carbon/MacMemory.h"
#include "foundation/Settings.h"

class DisplayOption {
 public:
  explicit DisplayOption(_DISPLAY_OPTIONS_ option) : mSaved(PPDXDisplayOptions::Options()) {
    Set(option);
  }
  ~DisplayOption() { PPDXDisplayOptions::Options(mSaved); }
  DisplayOption(const DisplayOption&) = delete;
  DisplayOption& operator=(const DisplayOption&) = delete;

  void Set(_DISPLAY_OPTIONS_ option) { PPDXDisplayOptions::Options(option); }
  void Set(int option) { Set(static_cast<_DISPLAY_OPTIONS_>(option)); }

 private:
  _DISPLAY_OPTIONS_ mSaved;
};

// A new store rebuilt from the flattened form of `settings` (null when that fails).
inline std::unique_ptr<Settings> ThroughBlob(Settings& settings) {
  char** flattened = nullptr;
  if (settings.GetSettingsHandle(&flattened) != 0) return nullptr;
  auto copy = std::make_unique<Settings>(flattened);
  DisposeHandle(flattened);
  return copy;
}
