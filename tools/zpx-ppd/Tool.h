#pragma once
// What the commands of zpx-ppd share: exit statuses, error reports, the parse
// of a PPD as the plug-in does it, and the commands themselves.

#include <memory>

class ZPXPPD;

namespace zpxtool {

enum ExitStatus { kExitPPD = 0, kExitNotPPD = 1, kExitUsage = 2 };

extern const char kTool[];

// Reports a failure about a file on standard error; returns kExitNotPPD.
int Fail(const char* path, const char* reason);
int Usage(const char* arguments);

// The parsed document of a file, with the error texts of the bundle loaded
// while it is parsed. Null when the path cannot be a file URL.
std::unique_ptr<ZPXPPD> ParseDocument(const char* path);

// The document as one JSON object (the schema is in doc/zpx-ppd-json.md).
void WriteJson(ZPXPPD& document, const char* path);

// Applies "-o KEY=VALUE" pairs (the key with or without its "*") through the
// document's value setter; false, after naming the fault on standard error,
// for a malformed argument, an unknown key or a value the option lacks.
bool ApplyOptions(ZPXPPD& document, int argc, char** argv);

int Scan(int argc, char** argv);
int Check(int argc, char** argv);
int Dump(int argc, char** argv);
int Options(int argc, char** argv);
int Emit(int argc, char** argv);
int Save(int argc, char** argv);
int Load(int argc, char** argv);

}  // namespace zpxtool
