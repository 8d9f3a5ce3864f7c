#pragma once
// What a print server job tells the filter (title, copies and its options as
// one "name=value name=value" text), turned into zpx-print's command line and
// its job options: each option as a job option (zpx-print uses those that name
// options a user sets in the PPD), "media" as *PageSize unless the job names a
// page size, "orientation-requested" and "number-up" as zpx-print's own. The
// job options may hold a PIN or a password, and every local user reads a
// command line: they go in a file (--job-options), never in an argument.

#include <string>
#include <vector>

class FilterOptions {
 public:
  FilterOptions(const std::string& title, const std::string& copies, const std::string& options);

  // The job carries zpx-print's mark of a finished job.
  bool IsFinished() const { return mFinished; }
  // zpx-print's arguments after the program name, for the PPD and the file
  // of JobOptionRecords(), as a job of the print server's written on standard
  // output; `document` "" reads standard input.
  std::vector<std::string> HostArguments(const std::string& ppd, const std::string& jobOptions,
                                         const std::string& document) const;
  // The job options as zpx-print's --job-options file holds them: KEY=VALUE
  // records, each ended by a NUL byte, which no value holds.
  std::string JobOptionRecords() const;

 private:
  void Add(const std::string& name, const std::string& value);

  bool mFinished = false;
  std::string mPageSize;  // from "media" when the job names no PageSize
  bool mHasPageSize = false;
  std::vector<std::string> mArguments;
  std::vector<std::string> mJobOptions;  // KEY=VALUE
};
