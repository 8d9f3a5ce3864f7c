#pragma once
// Questions on the controlling terminal (/dev/tty) whose answers are not
// shown: the echo is off while an answer is typed and on again before Ask
// returns, also when SIGINT, SIGTERM, SIGHUP or SIGQUIT ends the program
// meanwhile (the handler restores the terminal; the signal then ends the
// program as it would have).

#include <cstddef>
#include <string>

#include "PrintFailure.h"

class TerminalPrompt {
 public:
  static constexpr size_t kMaximumAnswer = 1024;

  TerminalPrompt();
  ~TerminalPrompt();
  TerminalPrompt(const TerminalPrompt&) = delete;
  TerminalPrompt& operator=(const TerminalPrompt&) = delete;

  // False without a controlling terminal.
  bool IsOpen() const { return mFd != -1; }
  // The line typed after `question`, without its end; a longer one than
  // kMaximumAnswer, or a terminal that fails, is kExitBadInput.
  PrintFailure Ask(const std::string& question, std::string& answer);

 private:
  bool Write(const std::string& text);
  // The line typed after the question, read with the echo off.
  PrintFailure ReadHidden(const std::string& question, std::string& answer);

  int mFd = -1;
};
