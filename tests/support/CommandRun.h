#pragma once
// Runs a shell command and collects its exit status, standard output and
// standard error.

#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include "support/FileText.h"
#include "support/TempFolder.h"

struct CommandRun {
  int status;
  std::string output;
  std::string errors;
};

inline CommandRun RunCommand(const std::string& command) {
  TempFolder folder;
  const std::string output = folder.Path() + "/out", errors = folder.Path() + "/err";
  int status = std::system((command + " > '" + output + "' 2> '" + errors + "'").c_str());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, FileText(output), FileText(errors)};
}

// A PostScript interpreter's run of the job: the text its pages draw is the output.
inline CommandRun InterpretedPages(const std::string& jobPath) {
  return RunCommand("gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=txtwrite -sOutputFile=- '" + jobPath +
                    "'");
}
