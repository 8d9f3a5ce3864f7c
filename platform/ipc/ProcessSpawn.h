#pragma once
// Starting a helper program: posix_spawn with an argument vector, so that no
// shell ever reads a path or an argument, and with only descriptors 0 to 2
// passed on. The caller reaps the child through ProcessReap.

#include <sys/types.h>

#include <string>
#include <vector>

// The program at `path` with `arguments` (argv[0] is the path); -1 when it
// could not be started.
pid_t ProcessSpawn(const std::string& path, const std::vector<std::string>& arguments);
// True when the child has exited (it is then reaped); false while it runs.
// A pid that is not our child counts as exited.
bool ProcessReap(pid_t child);
// Waits up to `seconds` for the child to exit, then ends it with SIGKILL; the
// child is reaped either way.
void ProcessReapWithin(pid_t child, double seconds);
