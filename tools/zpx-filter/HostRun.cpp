#include "HostRun.h"

#include <errno.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include "ScratchFolders.h"

namespace {

constexpr char kProgramPrefix[] = "zpx-print: ";

[[noreturn]] void RunChild(const std::string& program, const std::vector<std::string>& arguments,
                           const std::string& scratch, int messages) {
  int nothing = open("/dev/null", O_WRONLY | O_CLOEXEC);
  if (nothing == -1 || dup2(nothing, STDOUT_FILENO) == -1 || dup2(messages, STDERR_FILENO) == -1)
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
                 const std::string& scratch) {
  int pipeFds[2];
  if (pipe2(pipeFds, O_CLOEXEC) != 0) return;
  // A cancelled job's signal reaches the child too.
  pid_t child = ScratchFolders::ForkChild();
  if (child == 0) RunChild(program, arguments, scratch, pipeFds[1]);
  close(pipeFds[1]);
  if (child != -1) Collect(pipeFds[0]);
  close(pipeFds[0]);
  int status = 0;
  if (child == -1 || !ScratchFolders::WaitForChild(child, status)) return;
  mStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void HostRun::Collect(int fd) {
  std::string text;
  char buffer[512];
  ssize_t length;
  // Read to the end so that the program never blocks on a full pipe; keep the head.
  while ((length = read(fd, buffer, sizeof buffer)) != 0) {
    if (length < 0 && errno == EINTR) continue;
    if (length < 0) break;
    if (text.size() < kMaximumMessages) text.append(buffer, size_t(length));
  }
  size_t start = 0;
  for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
    std::string line = text.substr(start, end - start);
    if (line.rfind(kProgramPrefix, 0) == 0) line.erase(0, sizeof kProgramPrefix - 1);
    mMessages.push_back(line);
  }
}
