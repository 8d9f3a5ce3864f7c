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

#include <string>

class ScratchFolders {
 public:
  // A new folder made from an mkdtemp pattern; empty when none could be made.
  static std::string Make(const std::string& pattern);
  // Removes a folder that Make made, with everything in it.
  static void Remove(const std::string& path);
};
