#pragma once
// What the commands of zpx-ppd share: exit statuses, error reports, the parse
// of a PPD as the plug-in does it, and the commands themselves.

#include <memory>
#include <string>
#include <vector>

class ZPXPPD;

namespace zpxtool {

struct Warning;

enum ExitStatus { kExitPPD = 0, kExitNotPPD = 1, kExitUsage = 2 };

extern const char kTool[];

// Why the path names no regular file (a link to one included): missing, a
// directory, a FIFO or device, which could block the reader for ever; "" when
// it names one.
std::string InputFileProblem(const char* path);

// Reports a failure about a file on standard error; returns kExitNotPPD.
int Fail(const char* path, const char* reason);
int Usage(const char* arguments);

// True when the path names a regular file (a link to one included); otherwise
// false after one line on standard error that says why (missing, a directory, a
// FIFO or device, which could block the reader for ever).
bool IsInputFile(const char* path);

// The parsed document of a file, with the error texts of the bundle loaded
// while it is parsed. Null, after saying why on standard error, when the path
// is no regular file (IsInputFile) or cannot be a file URL.
std::unique_ptr<ZPXPPD> ParseDocument(const char* path);

// The document as one JSON object with the given warnings (the schema is in
// doc/zpx-ppd-json.md).
void WriteJson(ZPXPPD& document, const char* path, const std::vector<Warning>& warnings);

// Collects the values of "-o KEY=VALUE" pairs; false, after saying why on
// standard error, for an argument that is not one.
bool ReadChoiceArguments(int argc, char** argv, std::vector<std::string>& choices);

// Applies "-o KEY=VALUE" pairs (the key with or without its "*") through the
// document's value setter. After naming the fault on standard error: kExitNotPPD
// for a malformed argument, an unknown key, a value the option lacks (a range
// names its bounds) or a choice the constraints forbid under the final choices
// (named with the choice it conflicts with), kExitUsage for a job note's text
// that its flags or lengths refuse (named by the option and the rule, never the
// text); kExitPPD otherwise.
int ApplyOptions(ZPXPPD& document, int argc, char** argv);

// The text with every control character written as a backslash escape ("\n",
// "\x1b"), so that bytes from a file or an argument never drive the terminal.
// Null reads as "".
std::string Printable(const char* text);

int Scan(int argc, char** argv);
int Check(int argc, char** argv);
int Dump(int argc, char** argv);
int Options(int argc, char** argv);
int Emit(int argc, char** argv);
int Save(int argc, char** argv);
int Load(int argc, char** argv);
int Cups(int argc, char** argv);

}  // namespace zpxtool
