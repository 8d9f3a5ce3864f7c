// zpx-ppd: command-line access to the option model of a PPD file.
//
//   zpx-ppd scan FILE   reads FILE the way the document parser does and
//                       reports its header, its *PCFileName, how many lines
//                       and main keywords it has and which line, if any,
//                       stops a parse.
//   zpx-ppd check FILE  parses FILE into the option model (orphans and
//                       hidden elements included, as the plug-in does) and
//                       lists every parse error, every warning (a job note's
//                       default that its own flags refuse, by line) and
//                       whether the document is valid; warnings do not make
//                       it invalid.
//   zpx-ppd dump --json FILE
//                       the parsed option model as one JSON object (the
//                       schema is in doc/zpx-ppd-json.md).
//
// Exit status: 0 for a readable (scan) or valid (check, dump) PPD, 1 for a
// file that is not one (missing, unreadable, empty, not a regular file, no
// *PPD-Adobe "4.3" header, or a fatal parse error), 2 for a usage error. Reports
// go to standard output, control characters escaped; errors of the tool itself go
// to standard error. check names a line that ends the parse early, as scan does.
//   zpx-ppd options FILE [-o KEY=VALUE ...]
//                       every displayable option on one line: keyword and
//                       display name, then the choices with the current one
//                       marked "*" and those the constraints forbid under the
//                       current choices marked "!"; ranges with their limits,
//                       job notes with their lengths and flags.
//   zpx-ppd emit FILE [-o KEY=VALUE ...]
//                       the feature code of every control, in order, as the
//                       job carries it. An unknown key or a value the option
//                       does not have fails (1); a job note's text that its
//                       flags or lengths refuse (a control character always)
//                       is a usage error (2), named by the option and the rule,
//                       never the text.
//   zpx-ppd save FILE BLOB
//                       writes the document's settings blob to BLOB: whole
//                       or not at all (a new file renamed over BLOB; a link
//                       at BLOB is replaced, not followed); never over FILE,
//                       and never a blob larger than load reads (64 MB).
//   zpx-ppd load BLOB [PPD]
//                       rebuilds the document from BLOB (PPD stands in when
//                       the file BLOB names is gone) and prints what dump
//                       --json prints.

#include <cstdio>
#include <cstring>

#include "Tool.h"

using namespace zpxtool;

namespace {

struct Command {
  const char* name;
  const char* arguments;
  int (*run)(int argc, char** argv);
};

const Command kCommands[] = {
    {"scan", "FILE", Scan},
    {"check", "FILE", Check},
    {"dump", "--json FILE", Dump},
    {"options", "FILE [-o KEY=VALUE ...]", Options},
    {"emit", "FILE [-o KEY=VALUE ...]", Emit},
    {"save", "FILE BLOB", Save},
    {"load", "BLOB [PPD]", Load},
};

// One line that lists every command.
void PrintUsage() {
  std::fprintf(stderr, "usage:");
  const char* separator = " ";
  for (const Command& command : kCommands) {
    std::fprintf(stderr, "%s%s %s %s", separator, kTool, command.name, command.arguments);
    separator = " | ";
  }
  std::fprintf(stderr, "\n");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    PrintUsage();
    return kExitUsage;
  }
  for (const Command& command : kCommands) {
    if (std::strcmp(argv[1], command.name) == 0) return command.run(argc - 2, argv + 2);
  }
  std::fprintf(stderr, "%s: unknown command \"%s\"\n", kTool, argv[1]);
  return kExitUsage;
}
