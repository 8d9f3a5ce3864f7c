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
//   zpx-ppd options [--keys] FILE|--printer QUEUE [-o KEY=VALUE ...]
//                       every option the extension shows on one line:
//                       keyword and display name, then the choices with the
//                       current one marked "*" and those the constraints
//                       forbid under the current choices marked "!"; ranges
//                       with their limits, job notes with their lengths and
//                       flags. "no options the extension shows" for a PPD
//                       without the maker's keywords. --keys prints what a
//                       job's -o takes instead, one KEY=CHOICE line per
//                       choice; --printer QUEUE reads the PPD the print
//                       server's queue serves (options and emit).
//   zpx-ppd emit FILE [-o KEY=VALUE ...]
//                       the feature code of every control, in order, as the
//                       job carries it. An unknown key, a value the option
//                       does not have (a range names its bounds) or a choice
//                       the constraints forbid (named with the choice it
//                       conflicts with) fails (1), for options too; a job
//                       note's text that its flags or lengths refuse (a
//                       control character always) is a usage error (2), named
//                       by the option and the rule, never the text.
//   zpx-ppd save FILE BLOB
//                       writes the document's settings blob to BLOB: whole
//                       or not at all (a new file renamed over BLOB; a link
//                       at BLOB is replaced, not followed); never over FILE,
//                       and never a blob larger than load reads (64 MB).
//   zpx-ppd load BLOB [PPD]
//                       rebuilds the document from BLOB (PPD stands in when
//                       the file BLOB names is gone) and prints what dump
//                       --json prints.
//   zpx-ppd cups FILE [-o KEY=VALUE ...]
//                       the PPD to make a print server's queue with (see
//                       CupsPPDWriter): FILE as the extension reads it, with
//                       its options and constraints as the server's dialogs
//                       read them; -o sets choices first (the installed
//                       equipment) as for options.

#include <cstdio>
#include <cstring>

#include "Tool.h"
#include "host/ProgramVersion.h"

using namespace zpxtool;

namespace {

struct Command {
  const char* name;
  const char* arguments;
  int (*run)(int argc, char** argv);
  const char* description;  // for --help: lines of at most 72 columns
};

const Command kCommands[] = {
    {"scan", "FILE", Scan,
     "how the parser reads FILE: its header, its *PCFileName, how many lines and\n"
     "main keywords it has and the line, if any, that stops a parse"},
    {"check", "FILE", Check,
     "parses FILE as the extension does and lists every parse error and\n"
     "warning, and whether the document is valid"},
    {"dump", "--json FILE", Dump, "the option model as one JSON object"},
    {"options", "[--keys] FILE|--printer QUEUE [-o KEY=VALUE ...]", Options,
     "every option the extension shows, one a line: KEY/Name: and its choices,\n"
     "\"*\" marking the current one (the PPD's default unless -o sets it) and \"!\"\n"
     "one the constraints forbid now, under the current choices; ranges with\n"
     "their limits, job notes with their lengths and flags; with --keys what a\n"
     "job's -o takes, a KEY=CHOICE line per choice (KEY= for a typed value);\n"
     "--printer reads the PPD a print server's queue serves"},
    {"emit", "FILE|--printer QUEUE [-o KEY=VALUE ...]", Emit,
     "the feature code of every control, as the job carries it"},
    {"save", "FILE BLOB", Save, "writes the document's settings blob to BLOB, whole or not at all"},
    {"load", "BLOB [PPD]", Load,
     "rebuilds the document from BLOB (PPD stands in when its file is gone)\n"
     "and prints it as dump --json does"},
    {"cups", "FILE [-o KEY=VALUE ...]", Cups,
     "the PPD to make a print server's queue with: FILE's options as the\n"
     "server's print dialogs show them (ranges and job notes with custom\n"
     "values, installable options as -o sets them), its constraints as the\n"
     "server reads them, and zpx-filter to finish every job"},
};

constexpr char kChoicesAndStatusHelp[] =
    "-o KEY=VALUE (the key with or without \"*\") sets a choice first: an unknown\n"
    "key, a value the option lacks (a range names its limits) or a choice the\n"
    "constraints forbid fails with 1; a job note's text its rule refuses is a\n"
    "usage error (2).\n"
    "Exit status: 0 a readable or valid PPD, 1 a file that is not one, 2 a usage\n"
    "error. --version says the program's version.\n";

// One line that lists every command, for standard error.
void PrintUsage() {
  std::fprintf(stderr, "usage:");
  const char* separator = " ";
  for (const Command& command : kCommands) {
    std::fprintf(stderr, "%s%s %s %s", separator, kTool, command.name, command.arguments);
    separator = " | ";
  }
  std::fprintf(stderr, " (%s --help says more)\n", kTool);
}

// Every command with what it does, for standard output.
int PrintHelp() {
  std::printf("usage: %s COMMAND ...\n", kTool);
  for (const Command& command : kCommands) {
    std::printf("\n%s %s %s\n", kTool, command.name, command.arguments);
    for (const char* line = command.description; *line != '\0';) {
      const size_t length = std::strcspn(line, "\n");
      std::printf("    %.*s\n", int(length), line);
      line += length + (line[length] == '\n' ? 1 : 0);
    }
  }
  std::printf("\n%s", kChoicesAndStatusHelp);
  return std::fflush(stdout) == 0 && !std::ferror(stdout) ? kExitPPD : kExitNotPPD;
}

bool AsksForHelp(const char* argument) {
  return std::strcmp(argument, "--help") == 0 || std::strcmp(argument, "help") == 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    PrintUsage();
    return kExitUsage;
  }
  if (AsksForHelp(argv[1])) return PrintHelp();
  if (ProgramVersion::IsAsked(argc, argv)) return ProgramVersion::Print(kTool);
  for (const Command& command : kCommands) {
    if (std::strcmp(argv[1], command.name) == 0) return command.run(argc - 2, argv + 2);
  }
  std::fprintf(stderr, "%s: unknown command \"%s\" (%s --help lists them)\n", kTool, argv[1],
               kTool);
  return kExitUsage;
}
