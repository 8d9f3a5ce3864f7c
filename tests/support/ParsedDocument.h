#pragma once
// A PPD parsed into its document, from a file or from a text, and what the
// document holds read back as text: the value of a key and the parse errors.
// No test framework here: the benchmarks and fuzz targets parse through it too.

#include <memory>
#include <string>

#include "PPDX/PPDObjects/PPDXErrorObj.h"
#include "PPDX/PPDObjects/PPDXErrors.h"
#include "PPDX/ZPXPPD.h"
#include "support/FileURL.h"
#include "support/PlatformString.h"
#include "support/TempFile.h"

// Null only when the path makes no URL.
inline std::unique_ptr<ZPXPPD> ParseFile(const std::string& path,
                                         _PARSE_OPTIONS_ options = PARSE_ALL) {
  CFURLRef url = CreateFileURL(path);
  if (url == nullptr) return nullptr;
  std::unique_ptr<ZPXPPD> document(new ZPXPPD(url, options, nullptr));
  CFRelease(url);
  return document;
}

inline std::unique_ptr<ZPXPPD> ParseText(const std::string& text,
                                         _PARSE_OPTIONS_ options = PARSE_ALL) {
  TempFile file(text);
  return ParseFile(file.Path(), options);
}

// "code:keyword" or "code!:keyword" for a fatal error, in list order.
inline std::string Errors(ZPXPPD& document) {
  std::string listed;
  PPDXErrors* errors = document.GetErrors();
  for (PPDXErrorObj* error = errors->First(); error != nullptr; error = errors->Next()) {
    if (!listed.empty()) listed += " ";
    listed += std::to_string(error->Code()) + (error->IsFatal() ? "!" : "") + ":" +
              (error->Keyword() != nullptr ? error->Keyword() : "");
  }
  return listed;
}

// The value of the control of that key; "<null>" without one.
inline std::string Value(ZPXPPD& document, const std::string& key) {
  CFStringRef keyText = CreateText(key);
  std::string value = TakeText(document.CopyValueForKey(keyText));
  CFRelease(keyText);
  return value;
}

inline void SetValue(ZPXPPD& document, const std::string& key, const std::string& value) {
  CFStringRef keyText = CreateText(key);
  CFStringRef valueText = CreateText(value);
  document.SetValueForKey(keyText, valueText);
  CFRelease(keyText);
  CFRelease(valueText);
}

// The control of that key, of any kind; null without one.
inline PPDXControl* ControlOf(ZPXPPD& document, const std::string& key) {
  CFStringRef keyText = CreateText(key);
  PPDXControl* control = document.GetPPDXControlForKey(keyText);
  CFRelease(keyText);
  return control;
}
