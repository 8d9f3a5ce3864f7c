#pragma once
// One run of zpx-print for the filter: everything it writes (its tickets, the
// extension's data file and preferences) goes below a scratch folder, its job
// to a file there, and what it says on standard error is collected. A signal
// that ends the filter ends the run first (ScratchFolders::ForkChild).

#include <string>
#include <vector>

class HostRun {
 public:
  static constexpr size_t kMaximumMessages = 4096;

  // The program at `program` with `arguments`, HOME, XDG_CONFIG_HOME and
  // ZPX_TMPDIR in `scratch`; standard input is the filter's.
  HostRun(const std::string& program, const std::vector<std::string>& arguments,
          const std::string& scratch);

  // zpx-print's exit status; -1 when it could not run or did not exit.
  int Status() const { return mStatus; }
  // Its message lines, without its name.
  const std::vector<std::string>& Messages() const { return mMessages; }

 private:
  void Collect(int fd);

  int mStatus = -1;
  std::vector<std::string> mMessages;
};
