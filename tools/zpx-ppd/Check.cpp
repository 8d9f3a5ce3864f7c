// The check command: every parse error and whether the document is valid.

#include <cstdio>

#include "PPDX/PPDObjects/PPDXErrorObj.h"
#include "PPDX/PPDObjects/PPDXErrors.h"
#include "PPDX/ZPXPPD.h"
#include "Tool.h"

namespace zpxtool {

int Check(int argc, char** argv) {
  if (argc != 1) return Usage("check FILE");
  std::unique_ptr<ZPXPPD> document = ParseDocument(argv[0]);
  if (!document) return Fail(argv[0], "not a usable file path");
  PPDXErrors* errors = document->GetErrors();
  std::printf("file: %s\n", argv[0]);
  for (PPDXErrorObj* error = errors->First(); error != nullptr; error = errors->Next()) {
    const char* keyword = error->Keyword();
    const char* description = error->Description();
    std::printf("error %d (%s) %s: %s\n", error->Code(), error->IsFatal() ? "fatal" : "not fatal",
                keyword != nullptr ? keyword : "-", description != nullptr ? description : "");
  }
  std::printf("errors: %lu\n", errors->Count());
  bool valid = document->IsValidPPD();
  std::printf("valid: %s\n", valid ? "yes" : "no");
  return valid ? kExitPPD : kExitNotPPD;
}

}  // namespace zpxtool
