#include "TerminalPrompt.h"
#include "ipc/WriteAll.h"

#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <iterator>

namespace {

constexpr int kEndingSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};

// The terminal whose echo is off and its settings before, for the handler.
int sTerminal = -1;
struct termios sShown;
struct sigaction sPrevious[std::size(kEndingSignals)];

extern "C" void RestoreAndEnd(int number) {
  tcsetattr(sTerminal, TCSANOW, &sShown);
  // The handler ran once (SA_RESETHAND): the signal's own action ends the program.
  raise(number);
}

// The terminal's echo off while the object lives, the ending signals caught
// meanwhile (an ignored one stays ignored).
class HiddenEcho {
 public:
  explicit HiddenEcho(int fd) {
    if (tcgetattr(fd, &sShown) != 0) return;
    sTerminal = fd;
    for (size_t index = 0; index < std::size(kEndingSignals); ++index) CatchSignal(index);
    struct termios hidden = sShown;
    hidden.c_lflag &= ~tcflag_t(ECHO | ECHOE | ECHOK | ECHONL);
    mHidden = tcsetattr(fd, TCSAFLUSH, &hidden) == 0;
  }
  ~HiddenEcho() {
    if (sTerminal == -1) return;
    tcsetattr(sTerminal, TCSANOW, &sShown);
    for (size_t index = 0; index < std::size(kEndingSignals); ++index)
      sigaction(kEndingSignals[index], &sPrevious[index], nullptr);
    sTerminal = -1;
  }
  HiddenEcho(const HiddenEcho&) = delete;
  HiddenEcho& operator=(const HiddenEcho&) = delete;

  bool IsHidden() const { return mHidden; }

 private:
  static void CatchSignal(size_t index) {
    sigaction(kEndingSignals[index], nullptr, &sPrevious[index]);
    if (sPrevious[index].sa_handler == SIG_IGN) return;
    struct sigaction action = {};
    action.sa_handler = RestoreAndEnd;
    action.sa_flags = SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    sigaction(kEndingSignals[index], &action, nullptr);
  }

  bool mHidden = false;
};

}  // namespace

TerminalPrompt::TerminalPrompt() { mFd = open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC); }

TerminalPrompt::~TerminalPrompt() {
  if (mFd != -1) close(mFd);
}

bool TerminalPrompt::Write(const std::string& text) {
  return WriteAll(mFd, text.data(), text.size());
}

PrintFailure TerminalPrompt::ReadHidden(const std::string& question, std::string& answer) {
  // The echo goes off first: what is typed after the question never shows.
  HiddenEcho hidden(mFd);
  if (!hidden.IsHidden()) return PrintFailure::BadInput("cannot turn off the terminal's echo");
  if (!Write(question)) return PrintFailure::BadInput("cannot write to the terminal");
  bool tooLong = false;
  char byte = 0;
  ssize_t length;
  while ((length = read(mFd, &byte, 1)) == 1 || (length == -1 && errno == EINTR)) {
    if (length != 1) continue;
    if (byte == '\n') break;
    // The rest of a line too long is read all the same, so that it reaches nothing after.
    tooLong = tooLong || answer.size() == kMaximumAnswer;
    if (!tooLong) answer += byte;
  }
  if (length == -1) return PrintFailure::BadInput("cannot read the terminal");
  if (tooLong)
    return PrintFailure::BadInput("an answer takes at most " + std::to_string(kMaximumAnswer) +
                                  " bytes");
  return PrintFailure::None();
}

PrintFailure TerminalPrompt::Ask(const std::string& question, std::string& answer) {
  answer.clear();
  PrintFailure failure = ReadHidden(question, answer);
  // The line end typed was not shown either.
  Write("\n");
  if (failure.Failed()) answer.clear();
  return failure;
}
