// The check command: every parse error and warning and whether the document is
// valid.

#include <cstdio>
#include <vector>

#include "NoteDefaultWarnings.h"
#include "PPDScanner.h"
#include "PPDX/PPDObjects/PPDXErrorObj.h"
#include "PPDX/PPDObjects/PPDXErrors.h"
#include "PPDX/ZPXPPD.h"
#include "Tool.h"

namespace zpxtool {
namespace {

void PrintErrors(PPDXErrors& errors) {
  for (PPDXErrorObj* error = errors.First(); error != nullptr; error = errors.Next()) {
    const char* keyword = error->Keyword();
    const char* description = error->Description();
    std::printf("error %d (%s) %s: %s\n", error->Code(), error->IsFatal() ? "fatal" : "not fatal",
                keyword != nullptr ? Printable(keyword).c_str() : "-",
                Printable(description).c_str());
  }
  std::printf("errors: %lu\n", errors.Count());
}

void PrintWarnings(const std::vector<Warning>& warnings) {
  for (const Warning& warning : warnings)
    std::printf("warning: line %ld: %s\n", warning.line,
                Printable(warning.description.c_str()).c_str());
}

// A line that stops the parse leaves the rest of the file unread without an
// error of its own: say which one it was, as scan does.
void PrintStop(const ScanReport& report) {
  if (report.stopLine != 0)
    std::printf("stop: line %ld: %s; the parse ends there\n", report.stopLine,
                StopText(report.stopReason));
}

}  // namespace

int Check(int argc, char** argv) {
  if (argc != 1) return Usage("check FILE");
  std::unique_ptr<ZPXPPD> document = ParseDocument(argv[0]);
  if (!document) return kExitNotPPD;
  PPDScanner scanner(argv[0]);
  ScanReport report;
  scanner.ScanFile(report);  // a file without the header leaves the report empty
  std::printf("file: %s\n", Printable(argv[0]).c_str());
  PrintErrors(*document->GetErrors());
  PrintWarnings(NoteDefaultWarnings(*document, report));
  PrintStop(report);
  bool valid = document->IsValidPPD();
  std::printf("valid: %s\n", valid ? "yes" : "no");
  return valid ? kExitPPD : kExitNotPPD;
}

}  // namespace zpxtool
