#include "DocumentFeed.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

DocumentFeed::DocumentFeed(const DocumentHead& head) {
  int ends[2];
  if (pipe2(ends, O_CLOEXEC) != 0) return;
  mFeeder = fork();
  if (mFeeder == 0) {
    close(ends[0]);
    _exit(head.PassOn(ends[1]) ? 0 : 1);
  }
  close(ends[1]);
  if (mFeeder == -1) {
    close(ends[0]);
    return;
  }
  mInput = ends[0];
}

DocumentFeed::~DocumentFeed() {
  if (mInput != -1) close(mInput);
  Fed();
}

int DocumentFeed::TakeInput() {
  const int input = mInput;
  mInput = -1;
  return input;
}

bool DocumentFeed::Fed() {
  if (mFeeder <= 0) return false;
  int status = 0;
  pid_t ended;
  while ((ended = waitpid(mFeeder, &status, 0)) == -1 && errno == EINTR) {
  }
  mFeeder = -1;
  return ended > 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
