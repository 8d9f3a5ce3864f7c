#pragma once
// zpx-print run as a user would, with its own home, config and temporary
// folders in a scratch folder, so that nothing of a test's runs is shared.

#include <string>

#include "support/CommandRun.h"
#include "support/PrintJobFiles.h"
#include "support/TempFolder.h"

// One home for runs of zpx-print; each run gets the home's folders.
class PrintHome {
 public:
  PrintHome() {
    mFolder.Write("config/.keep", "");
    mFolder.Write("tmp/.keep", "");
  }

  CommandRun Run(const std::string& arguments, const std::string& document = kSampleDocument,
                 const std::string& environment = "") const {
    return RunCommand(environment + " " + Command(arguments) + " < '" + document + "'");
  }

  // zpx-print with the home's folders, as shell words.
  std::string Command(const std::string& arguments) const {
    return "HOME='" + mFolder.Path() + "' XDG_CONFIG_HOME='" + mFolder.Path() +
           "/config' ZPX_TMPDIR='" + mFolder.Path() + "/tmp' " + ZPX_TOOLS_DIR + "/zpx-print " +
           arguments;
  }

  std::string Write(const std::string& relative, const std::string& bytes) const {
    return mFolder.Write(relative, bytes);
  }
  const std::string& Path() const { return mFolder.Path(); }
  std::string TicketsFile() const { return mFolder.Path() + "/config/zpx-print/ZPX-Sample.plist"; }
  // What a run left in the temporary folder besides the marker.
  size_t LeftInTemporaryFolder() const { return EntriesLeftIn(mFolder.Path() + "/tmp"); }

 private:
  TempFolder mFolder;
};
