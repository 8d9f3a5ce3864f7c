#pragma once
// The sample printer and document that print tests run, and what they check
// of a run's files.

#include <filesystem>
#include <regex>
#include <string>

#include "support/FileText.h"

inline const std::string kSamplePPD = std::string(ZPX_BUNDLE) + "/samples/ZPX-Sample.ppd";
inline const std::string kSampleDocument = std::string(ZPX_BUNDLE) + "/samples/Sample.ps";

// The sample made the PPD of a printer the extension does not serve.
inline std::string OtherPrinterPPDText() {
  std::string text = FileText(kSamplePPD);
  return text.replace(text.find("ZPX9000.PPD"), 11, "OTHER.PPD");
}

// The user-authentication record is sealed with the moment and a salt of its
// making: two runs' jobs differ there and only there.
inline std::string Unstamped(const std::string& job) {
  return std::regex_replace(job, std::regex("%%ZPXUATag: [^\r\n]*"), "%%ZPXUATag: ");
}

// What a run left in the folder besides its ".keep" marker.
inline size_t EntriesLeftIn(const std::string& folder) {
  size_t count = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    count += entry.path().filename() != ".keep";
  return count;
}
