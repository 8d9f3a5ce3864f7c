#include "host/ProgramVersion.h"

#include <cstdio>
#include <cstring>

const char* ProgramVersion::Text() { return ZPX_VERSION; }

bool ProgramVersion::IsAsked(int argc, char** argv) {
  return argc == 2 && std::strcmp(argv[1], "--version") == 0;
}

int ProgramVersion::Print(const char* program) {
  std::printf("%s %s\n", program, Text());
  return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
}
