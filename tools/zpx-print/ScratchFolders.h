#pragma once
// The process's scratch folders: each made private (0700) and removed with
// everything in it by its owner, or, when SIGTERM, SIGINT or SIGHUP ends the
// program first, removed before the program ends as the signal asks.
//
// What a folder holds is not known beforehand (the extension names its own
// files), so a signal handler could not remove it with the few calls allowed
// there. The handler only writes the signal's number into a pipe; a thread of
// its own reads it, removes the folders with ordinary calls while no folder
// is being made or removed, and raises the signal again with its default
// action. A signal ignored when the program started (nohup) stays ignored.

#include <sys/types.h>

#include <string>

class ScratchFolders {
 public:
  // A new folder made from an mkdtemp pattern; empty when none could be made.
  static std::string Make(const std::string& pattern);
  // Removes a folder that Make made, with everything in it.
  static void Remove(const std::string& path);

  // A child process (fork's answer) that an ending signal is passed on to
  // before the folders go: it gets the same signal and up to kChildSeconds to
  // end (and remove its own folders), then SIGKILL. Forked and noted under
  // the lock, so no signal falls between the two; the child (0) must exec or
  // _exit at once. One child at a time.
  static pid_t ForkChild();
  // Waits for the child ForkChild made, forgets it, then reaps it; false when
  // it could not be waited for.
  static bool WaitForChild(pid_t child, int& status);

  static constexpr int kChildSeconds = 2;
};
