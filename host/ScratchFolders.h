#pragma once
// The process's scratch folders and files: each folder made private (0700)
// and removed with everything in it by its owner, each file removed or put in
// place by its owner, or, when SIGTERM, SIGINT or SIGHUP ends the program
// first, removed before the program ends as the signal asks.
//
// What a folder holds is not known beforehand (the extension names its own
// files), so a signal handler could not remove it with the few calls allowed
// there. The handler only writes the signal's number into a pipe; a thread of
// its own reads it, removes the folders with ordinary calls while no folder
// is being made or removed, and raises the signal again with its default
// action. A signal ignored when the program started (nohup) stays ignored.
// Once a signal is taken, making or claiming a file or folder waits for the
// end, so that nothing is made after the removal. Other threads go on while
// the folders are removed and may still add files to them: a folder is
// removed again until it is gone.

#include <sys/types.h>

#include <string>

class ScratchFolders {
 public:
  // A new folder made from an mkdtemp pattern; empty when none could be made.
  static std::string Make(const std::string& pattern);
  // Removes a folder that Make made, with everything in it.
  static void Remove(const std::string& path);

  // A new file (0600) from an mkstemp pattern, opened for writing (close on
  // exec); `pattern` becomes its name. -1 when none could be made.
  static int MakeFile(std::string& pattern);
  // A file the caller is about to make at `path` by other means: removed if a
  // signal ends the program before Release.
  static void Claim(const std::string& path);
  // The file is the program's no more (renamed into place, or removed).
  static void Release(const std::string& path);

  // A child process (fork's answer) that an ending signal is passed on to
  // before the folders go: it gets the same signal and up to kChildSeconds to
  // end (and remove its own folders), then SIGKILL. Forked and noted under
  // the lock, so no signal falls between the two; the child (0) must exec or
  // _exit at once. One child at a time.
  static pid_t ForkChild();
  // Waits for the child ForkChild made, forgets it, then reaps it; false when
  // it could not be waited for.
  static bool WaitForChild(pid_t child, int& status);

  // Ends the program at once with `status`, as an ending signal would: the
  // child ended, every folder and file removed. For a program whose ground
  // went away (its display), from any thread but the signal's.
  [[noreturn]] static void Exit(int status);

  static constexpr int kChildSeconds = 2;
};
