// The check command: every parse error and whether the document is valid.

#include <cstdio>

#include "PPDX/PPDObjects/PPDXErrorObj.h"
#include "PPDX/PPDObjects/PPDXErrors.h"
#include "PPDScanner.h"
#include "PPDX/ZPXPPD.h"
#include "Tool.h"

namespace zpxtool {
namespace {

// A line that stops the parse leaves the rest of the file unread without an
// error of its own: say which one it was, as scan does.
void PrintStop(const char* path) {
  PPDScanner scanner(path);
  ScanReport report;
  if (scanner.ScanFile(report) && report.stopLine != 0)
    std::printf("stop: line %ld: %s; the parse ends there\n", report.stopLine,
                StopText(report.stopReason));
}

}  // namespace

int Check(int argc, char** argv) {
  if (argc != 1) return Usage("check FILE");
  std::unique_ptr<ZPXPPD> document = ParseDocument(argv[0]);
  if (!document) return kExitNotPPD;
  PPDXErrors* errors = document->GetErrors();
  std::printf("file: %s\n", Printable(argv[0]).c_str());
  for (PPDXErrorObj* error = errors->First(); error != nullptr; error = errors->Next()) {
    const char* keyword = error->Keyword();
    const char* description = error->Description();
    std::printf("error %d (%s) %s: %s\n", error->Code(), error->IsFatal() ? "fatal" : "not fatal",
                keyword != nullptr ? Printable(keyword).c_str() : "-", Printable(description).c_str());
  }
  std::printf("errors: %lu\n", errors->Count());
  PrintStop(argv[0]);
  bool valid = document->IsValidPPD();
  std::printf("valid: %s\n", valid ? "yes" : "no");
  return valid ? kExitPPD : kExitNotPPD;
}

}  // namespace zpxtool
