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
// the JSON; with kMerged standard error is collected too. `launcher`, shell words
// before the program ("timeout 10", "ulimit -f 1;"), sets how it runs.
inline ToolRun Tool(const std::string& arguments, ToolErrors errors = ToolErrors::kDropped,
                    const std::string& launcher = "") {
  std::string command = launcher + " " + std::string(ZPX_TOOLS_DIR) + "/zpx-ppd " + arguments +
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

// How many times the part stands in the text, overlapping ones counted.
inline size_t Occurrences(const std::string& text, const std::string& part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

// Whether the text has the whole line.
inline bool HasLine(const std::string& text, const std::string& line) {
  return ("\n" + text).find("\n" + line + "\n") != std::string::npos;
}

inline int LineCount(const std::string& text) {
  int lines = 0;
  for (char c : text) lines += c == '\n';
  return lines;
}

// The head of a PPD with a property page, a scroll pane and the roll-down
// "Roll", in which options must sit for the tool to show them.
const std::string kRollDownHead =
    "*PPD-Adobe: \"4.3\"\n*LanguageVersion: English\n*LanguageEncoding: ISOLatin1\n"
    "*%ZPXPropPage Page/Page: True\n*%ZPXGroupName Pane/Pane: True\n*%ZPXGroupName Roll/Roll: "
    "True\n"
    "*%ZPXParent Pane/Page: True|Scrollpane\n*%ZPXParent Roll/Pane: True|Rolldown\n";
