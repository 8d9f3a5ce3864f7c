#pragma once
// How a run of zpx-print ends when it does not end well: the exit status and
// the one line that says why.

#include <string>

enum PrintExit { kExitJobWritten = 0, kExitNoJob = 1, kExitBadInput = 2, kExitPrintSystem = 3 };

struct PrintFailure {
  PrintExit mExit = kExitJobWritten;
  std::string mMessage;

  bool Failed() const { return mExit != kExitJobWritten; }
  static PrintFailure None() { return PrintFailure(); }
  static PrintFailure NoJob(const std::string& message) { return {kExitNoJob, message}; }
  static PrintFailure BadInput(const std::string& message) { return {kExitBadInput, message}; }
  static PrintFailure PrintSystem(const std::string& message) {
    return {kExitPrintSystem, message};
  }
};
