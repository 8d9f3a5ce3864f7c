// The bytes of a PPD file, parsed as the plug-in parses the PPD of a printer:
// whatever the file holds, the parse stays inside its buffers and ends, and the
// document it yields answers every query and survives its settings blob.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "DocumentChecks.h"
#include "FuzzCheck.h"
#include "PPDX/ZPXPPD.h"
#include "ScratchFile.h"
#include "support/ParsedDocument.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  static ScratchFile scratch;
  const char* path = scratch.Write(std::string(reinterpret_cast<const char*>(bytes), size));
  std::unique_ptr<ZPXPPD> document = ParseFile(path);
  FUZZ_CHECK(document != nullptr);
  if (document->IsValidPPD()) documentchecks::Exercise(*document);
  return 0;
}
