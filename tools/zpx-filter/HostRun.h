#pragma once
// One run of zpx-print for the filter: everything it writes (its tickets, the
// extension's data file and preferences) goes below a scratch folder, its job
// straight to the filter's standard output as it is merged, and what it says
// on standard error is collected line by line, the last line whether it ends
// or not. A signal that ends the filter
// ends the run first (ScratchFolders::ForkChild).

#include <string>
#include <vector>

class HostRun {
 public:
  // A longer line is cut on a UTF-8 character boundary and ends in "…".
  static constexpr size_t kMaximumLineBytes = 1000;
  // Only the last lines are kept, however many the program writes.
  static constexpr size_t kMaximumLines = 64;

  // The program at `program` with `arguments`, HOME, XDG_CONFIG_HOME and
  // ZPX_TMPDIR in `scratch`; standard input is `input`, which the run closes
  // once the program has it (-1: the filter's own).
  HostRun(const std::string& program, const std::vector<std::string>& arguments,
          const std::string& scratch, int input = -1);

  // zpx-print's exit status; -1 when it could not run or did not exit.
  int Status() const { return mStatus; }
  // Its message lines, without its name.
  const std::vector<std::string>& Messages() const { return mMessages; }

 private:
  void Collect(int fd);
  // Takes a line that holds at most kKeptBytes of what the program wrote.
  void Keep(std::string line);

  int mStatus = -1;
  std::vector<std::string> mMessages;
};
