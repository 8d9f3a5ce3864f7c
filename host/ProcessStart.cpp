#include "host/ProcessStart.h"

#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

bool ProcessStart::Prepare() {
  for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
    if (fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
    // The lowest free number is this one: those below it are open.
    if (open("/dev/null", fd == STDIN_FILENO ? O_RDONLY : O_WRONLY) != fd) return false;
  }
  signal(SIGPIPE, SIG_IGN);
  return true;
}
