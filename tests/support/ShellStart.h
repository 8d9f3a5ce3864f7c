#pragma once
// Starts a shell command in the background with the ending signals (SIGTERM,
// SIGINT, SIGHUP, SIGQUIT) at their default action, whatever the test runner
// ignores, so that a test can end it as the print system would.

#include <signal.h>
#include <spawn.h>
#include <unistd.h>

#include <string>

// `actions` set the child's descriptors; `flags` add to POSIX_SPAWN_SETSIGDEF
// (POSIX_SPAWN_SETSID for a session of its own). -1 when it cannot start.
inline pid_t StartShellCommand(const std::string& command,
                               const posix_spawn_file_actions_t& actions, short flags = 0) {
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t defaults;
  sigemptyset(&defaults);
  for (int number : {SIGTERM, SIGINT, SIGHUP, SIGQUIT}) sigaddset(&defaults, number);
  posix_spawnattr_setsigdefault(&attributes, &defaults);
  posix_spawnattr_setflags(&attributes, short(POSIX_SPAWN_SETSIGDEF | flags));
  const char* argv[] = {"/bin/sh", "-c", command.c_str(), nullptr};
  pid_t child = -1;
  if (posix_spawn(&child, "/bin/sh", &actions, &attributes, const_cast<char**>(argv), environ) != 0)
    child = -1;
  posix_spawnattr_destroy(&attributes);
  return child;
}
