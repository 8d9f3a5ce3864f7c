#include "FilterOptions.h"

#include <cups/cups.h>

#include "host/FinishedJobMark.h"

namespace {

// The print server's orientation-requested numbers 3 to 6, as zpx-print names them.
const char* OrientationName(const std::string& value) {
  if (value == "3") return "portrait";
  if (value == "4") return "landscape";
  if (value == "5") return "reverse-landscape";
  if (value == "6") return "reverse-portrait";
  return nullptr;
}

}  // namespace

FilterOptions::FilterOptions(const std::string& title, const std::string& copies,
                             const std::string& options) {
  if (!title.empty()) mArguments.insert(mArguments.end(), {"--title", title});
  mArguments.insert(mArguments.end(), {"--copies", copies});
  cups_option_t* parsed = nullptr;
  int count = cupsParseOptions(options.c_str(), 0, &parsed);
  for (int index = 0; index < count; ++index) Add(parsed[index].name, parsed[index].value);
  cupsFreeOptions(count, parsed);
  if (!mHasPageSize && !mPageSize.empty()) mJobOptions.push_back("PageSize=" + mPageSize);
}

void FilterOptions::Add(const std::string& name, const std::string& value) {
  if (name == FinishedJobMark::kOption) {
    mFinished = true;
  } else if (name == "media") {
    // A list of media names: the first is the size.
    mPageSize = value.substr(0, value.find(','));
  } else if (name == "orientation-requested") {
    if (const char* orientation = OrientationName(value))
      mArguments.insert(mArguments.end(), {"--orientation", orientation});
  } else if (name == "number-up") {
    mArguments.insert(mArguments.end(), {"--number-up", value});
  } else {
    mHasPageSize = mHasPageSize || name == "PageSize";
    mJobOptions.push_back(name + "=" + value);
  }
}

std::vector<std::string> FilterOptions::HostArguments(const std::string& ppd,
                                                      const std::string& jobOptions,
                                                      const std::string& document) const {
  std::vector<std::string> arguments = {"--server-job", "--ppd", ppd, "--job-options", jobOptions};
  arguments.insert(arguments.end(), mArguments.begin(), mArguments.end());
  if (!document.empty()) arguments.push_back(document);
  return arguments;
}

std::string FilterOptions::JobOptionRecords() const {
  std::string records;
  for (const std::string& option : mJobOptions) records += option + '\0';
  return records;
}
