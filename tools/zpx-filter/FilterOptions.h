#pragma once
// What a print server job tells the filter (title, copies and its options as
// one "name=value name=value" text), turned into zpx-print's command line:
// each option as a job option (zpx-print uses those that name options a user
// sets in the PPD), "media" as *PageSize unless the job names a page size,
// "orientation-requested" and "number-up" as zpx-print's own.

#include <string>
#include <vector>

class FilterOptions {
 public:
  FilterOptions(const std::string& title, const std::string& copies, const std::string& options);

  // The job carries zpx-print's mark of a finished job.
  bool IsFinished() const { return mFinished; }
  // zpx-print's arguments after the program name, for the PPD and the job's
  // output file, as a job of the print server's; `document` "" reads standard input.
  std::vector<std::string> HostArguments(const std::string& ppd, const std::string& output,
                                         const std::string& document) const;

 private:
  void Add(const std::string& name, const std::string& value);

  bool mFinished = false;
  std::string mPageSize;  // from "media" when the job names no PageSize
  bool mHasPageSize = false;
  std::vector<std::string> mArguments;
};
