#include "ipc/ProcessSpawn.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>

extern char** environ;

pid_t ProcessSpawn(const std::string& path, const std::vector<std::string>& arguments) {
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(path.c_str()));
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addclosefrom_np(&actions, 3);
  pid_t child = -1;
  const int result = posix_spawn(&child, path.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  return result == 0 ? child : -1;
}

bool ProcessReap(pid_t child) {
  if (child <= 0) return true;
  int status = 0;
  const pid_t reaped = waitpid(child, &status, WNOHANG);
  return reaped == child || reaped < 0;
}

void ProcessReapWithin(pid_t child, double seconds) {
  if (child <= 0) return;
  const struct timespec step = {0, 10 * 1000 * 1000};
  for (double waited = 0; waited < seconds; waited += 0.01) {
    if (ProcessReap(child)) return;
    nanosleep(&step, nullptr);
  }
  kill(child, SIGKILL);
  waitpid(child, nullptr, 0);
}
