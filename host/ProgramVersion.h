#pragma once
// What every program says to --version: its name and the system's version,
// which the build sets once, from the project's version, for all of them and
// for the package.

class ProgramVersion {
 public:
  static const char* Text();
  // True for a command line that is the program's name and --version alone.
  static bool IsAsked(int argc, char** argv);
  // "PROGRAM VERSION" on standard output; 0, or 1 when it cannot be written.
  static int Print(const char* program);
};
