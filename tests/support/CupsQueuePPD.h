#pragma once
// The PPD zpx-ppd cups makes for a queue, in a scratch folder, and the print
// server's own check of it (cupstestppd), run against a scratch root whose
// filter folder holds the built zpx-filter, so that the filter line is
// checked too.

#include <filesystem>
#include <string>

#include "support/CommandRun.h"
#include "support/TempFolder.h"
#include "support/ToolRun.h"

class CupsQueuePPD {
 public:
  // `arguments`: the maker's PPD and the -o choices, as zpx-ppd takes them.
  explicit CupsQueuePPD(const std::string& arguments) {
    ToolRun run = Tool("cups " + arguments, ToolErrors::kDropped);
    mStatus = run.status;
    mText = run.output;
    mPath = mFolder.Write("queue.ppd", mText);
  }

  int Status() const { return mStatus; }
  const std::string& Text() const { return mText; }
  const std::string& Path() const { return mPath; }

  // cupstestppd's report; its status is 0 only for a PPD without errors.
  CommandRun ServerCheck() const {
    std::filesystem::path filters =
        std::filesystem::path(mFolder.Path()) / "root/usr/lib/cups/filter";
    std::filesystem::create_directories(filters);
    std::error_code ignored;
    std::filesystem::create_symlink(ZPX_FILTER, filters / "zpx-filter", ignored);
    return RunCommand("cupstestppd -R '" + mFolder.Path() + "/root' '" + mPath + "'");
  }

 private:
  TempFolder mFolder;
  int mStatus;
  std::string mText;
  std::string mPath;
};
