#pragma once
// Starts a shell command in the background with the ending signals (SIGTERM,
// SIGINT, SIGHUP, SIGQUIT) at their default action, whatever the test runner
// ignores, so that a test can end it as the print system would; its standard
// descriptors as the caller sets them (ShellStreams), the test's otherwise.

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <unistd.h>

#include <string>
#include <vector>

// The descriptors the started command gets: files opened in the child, or one
// end of a new pipe whose other end the caller keeps.
class ShellStreams {
 public:
  ShellStreams() { posix_spawn_file_actions_init(&mActions); }
  ~ShellStreams() {
    CloseChildEnds();
    posix_spawn_file_actions_destroy(&mActions);
  }
  ShellStreams(const ShellStreams&) = delete;
  ShellStreams& operator=(const ShellStreams&) = delete;

  ShellStreams& Open(int fd, const std::string& path, int flags = O_WRONLY, mode_t mode = 0600) {
    posix_spawn_file_actions_addopen(&mActions, fd, path.c_str(), flags, mode);
    return *this;
  }
  ShellStreams& Null(int fd) {
    return Open(fd, "/dev/null", fd == STDIN_FILENO ? O_RDONLY : O_WRONLY);
  }
  // The child's `fd` becomes one end of a new pipe (the reading end for
  // standard input, the writing end otherwise); the caller's end, to close
  // after use, or -1.
  int Pipe(int fd) {
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0) return -1;
    const bool childReads = fd == STDIN_FILENO;
    posix_spawn_file_actions_adddup2(&mActions, ends[childReads ? 0 : 1], fd);
    mChildEnds.push_back(ends[childReads ? 0 : 1]);
    return ends[childReads ? 1 : 0];
  }

  const posix_spawn_file_actions_t& Actions() const { return mActions; }
  void CloseChildEnds() {
    for (int fd : mChildEnds) close(fd);
    mChildEnds.clear();
  }

 private:
  posix_spawn_file_actions_t mActions;
  std::vector<int> mChildEnds;
};

// `flags` add to POSIX_SPAWN_SETSIGDEF (POSIX_SPAWN_SETSID for a session of
// its own). -1 when it cannot start.
inline pid_t StartShellCommand(const std::string& command, ShellStreams& streams, short flags = 0) {
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t defaults;
  sigemptyset(&defaults);
  for (int number : {SIGTERM, SIGINT, SIGHUP, SIGQUIT}) sigaddset(&defaults, number);
  posix_spawnattr_setsigdefault(&attributes, &defaults);
  posix_spawnattr_setflags(&attributes, short(POSIX_SPAWN_SETSIGDEF | flags));
  const char* argv[] = {"/bin/sh", "-c", command.c_str(), nullptr};
  pid_t child = -1;
  if (posix_spawn(&child, "/bin/sh", &streams.Actions(), &attributes, const_cast<char**>(argv),
                  environ) != 0)
    child = -1;
  posix_spawnattr_destroy(&attributes);
  streams.CloseChildEnds();
  return child;
}
