#pragma once
// The command line of zpx-print:
//   zpx-print --ppd FILE | --printer QUEUE [-o KEY=VALUE]... [--job-options FILE]
//             [--ask KEY]... [--secrets FILE] [--copies N]
//             [--orientation portrait|landscape|reverse-portrait|reverse-landscape]
//             [--title TEXT] [--output FILE] [--forget] [--gui] [DOCUMENT]
//   zpx-print --list
//   zpx-print --help | --version

#include <string>
#include <utility>
#include <vector>

#include "PrintFailure.h"

struct PrintArguments {
  static constexpr long kMaximumCopies = 9999;
  static constexpr const char* kUsage =
      "usage: zpx-print --ppd FILE | --printer QUEUE [-o KEY=VALUE]... [--job-options FILE]\n"
      "                 [--ask KEY]... [--secrets FILE] [--copies N]\n"
      "                 [--orientation portrait|landscape|reverse-portrait|reverse-landscape]\n"
      "                 [--title TEXT] [--output FILE] [--forget] [--gui] [DOCUMENT]\n"
      "       zpx-print --list\n"
      "       zpx-print --help | --version\n";

  std::string mPPD;
  std::string mQueue;  // --printer: the print server's queue instead of a PPD file
  bool mList = false;
  bool mHelp = false;     // --help: the usage on standard output, nothing else
  bool mVersion = false;  // --version: the program's version, nothing else
  std::vector<std::pair<std::string, std::string>> mOptions;  // key with "*", value
  // Options as a job from another application carries them, in the print
  // server's forms (ServerOptionValue): those that are not options a user
  // sets in the PPD are ignored. They come from a file (--job-options, read
  // by SecretInput), never from the command line, as they may hold a PIN.
  std::vector<std::pair<std::string, std::string>> mJobOptions;  // key with "*", value
  std::string mJobOptionsFile;
  // --number-up, the filter's: how many pages the print server laid out on
  // each sheet (the extension's notes tell the controller); zpx-print lays
  // out nothing itself, so the usage does not offer it.
  int mNumberUp = 1;
  long mCopies = 1;
  bool mCopiesGiven = false;
  // The print system's numbers: 1 portrait, 2 landscape, 3 reverse portrait,
  // 4 reverse landscape.
  int mOrientation = 1;
  bool mOrientationGiven = false;
  std::string mTitle;
  std::string mOutput;    // "": standard output
  std::string mDocument;  // "": standard input
  bool mForget = false;
  bool mGui = false;  // the print window on the display
  // --server-job, the filter's: the job comes from any client of the print
  // server, so what would write a file the job names is refused (ServerJobRule).
  bool mServerJob = false;
  // Choices kept off the command line, where every local user reads them:
  // the keys (with "*") whose values the terminal gives, and a file of
  // KEY=VALUE lines.
  std::vector<std::string> mAskedKeys;
  std::string mSecretsFile;

  // A bad command line is kExitBadInput.
  PrintFailure Parse(int argc, const char* const* argv);
  // The job's name: the title, else the document's file name, else "stdin".
  std::string JobName() const;
  // --copies and --orientation as the controller's own options, for a PPD that
  // has them ("*ZPCopies", "*ZP_PAPER_ORIENTATION"), ahead of the job options
  // so that an option given by name decides. A job of the print server's
  // leaves both to the server, which made its copies and turned its pages.
  std::vector<std::pair<std::string, std::string>> JobOptions() const;
  // KEY=VALUE as -o takes it, the key given "*" when it has none.
  static bool ParseChoice(const std::string& text, std::pair<std::string, std::string>& option);
};
