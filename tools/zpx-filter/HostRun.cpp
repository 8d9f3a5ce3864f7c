#include "HostRun.h"

#include <errno.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include "cf/CFText.h"
#include "host/ScratchFolders.h"

namespace {

constexpr char kProgramPrefix[] = "zpx-print: ";
constexpr size_t kPrefixLength = sizeof kProgramPrefix - 1;
// Of a line, enough to know whether it is longer than a message may be.
constexpr size_t kKeptBytes = kPrefixLength + HostRun::kMaximumLineBytes + 1;
constexpr char kCutMark[] = "\u2026";

[[noreturn]] void RunChild(const std::string& program, const std::vector<std::string>& arguments,
                           const std::string& scratch, int input, int messages) {
  if ((input != -1 && dup2(input, STDIN_FILENO) == -1) || dup2(messages, STDERR_FILENO) == -1)
    _exit(127);
  setenv("HOME", scratch.c_str(), 1);
  setenv("XDG_CONFIG_HOME", (scratch + "/config").c_str(), 1);
  setenv("ZPX_TMPDIR", scratch.c_str(), 1);
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  execv(program.c_str(), argv.data());
  _exit(127);
}

}  // namespace

HostRun::HostRun(const std::string& program, const std::vector<std::string>& arguments,
                 const std::string& scratch, int input) {
  int pipeFds[2];
  if (pipe2(pipeFds, O_CLOEXEC) != 0) {
    if (input != -1) close(input);
    return;
  }
  // A cancelled job's signal reaches the child too.
  pid_t child = ScratchFolders::ForkChild();
  if (child == 0) RunChild(program, arguments, scratch, input, pipeFds[1]);
  // Whoever writes the input learns when the program stops reading it.
  if (input != -1) close(input);
  close(pipeFds[1]);
  if (child != -1) Collect(pipeFds[0]);
  close(pipeFds[0]);
  int status = 0;
  if (child == -1 || !ScratchFolders::WaitForChild(child, status)) return;
  mStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void HostRun::Collect(int fd) {
  std::string line;
  char buffer[512];
  ssize_t length;
  // Read to the end so that the program never blocks on a full pipe.
  while ((length = read(fd, buffer, sizeof buffer)) != 0) {
    if (length < 0 && errno == EINTR) continue;
    if (length < 0) break;
    for (const char* byte = buffer; byte < buffer + length; ++byte) {
      if (*byte != '\n') {
        if (line.size() < kKeptBytes) line += *byte;
        continue;
      }
      Keep(line);
      line.clear();
    }
  }
  // A program that ends in the middle of a line still said it.
  if (!line.empty()) Keep(line);
}

void HostRun::Keep(std::string line) {
  if (line.rfind(kProgramPrefix, 0) == 0) line.erase(0, kPrefixLength);
  if (line.size() > kMaximumLineBytes)
    line = line.substr(0, UTF8BoundaryCut(line, kMaximumLineBytes)) + kCutMark;
  if (mMessages.size() == kMaximumLines) mMessages.erase(mMessages.begin());
  mMessages.push_back(line);
}
