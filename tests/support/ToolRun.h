#pragma once
// Runs the built zpx-ppd with the given arguments and collects its exit status
// and output.

#include <sys/wait.h>

#include <cstdio>
#include <string>

struct ToolRun {
  int status;
  std::string output;
};

enum class ToolErrors { kDropped, kMerged };

// With kDropped only standard output is collected, so that a dump is exactly
// the JSON; with kMerged standard error is collected too.
inline ToolRun Tool(const std::string& arguments, ToolErrors errors = ToolErrors::kDropped) {
  std::string command = std::string(ZPX_TOOLS_DIR) + "/zpx-ppd " + arguments +
                        (errors == ToolErrors::kMerged ? " 2>&1" : " 2>/dev/null");
  ToolRun run{-1, ""};
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return run;
  char buffer[256];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) run.output.append(buffer, n);
  int status = pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

inline bool Has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}
