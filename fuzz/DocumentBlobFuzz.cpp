// A document's settings blob travels in the print ticket, so its bytes may come
// from anywhere. Unflattened and rebuilt into a document, any block gives an
// empty document or one that answers every query and saves itself again.

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "DocumentChecks.h"
#include "FuzzCheck.h"
#include "PPDX/ZPXPPD.h"
#include "carbon/MacMemory.h"
#include "foundation/Settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  char** block = NewHandle(Size(size));
  FUZZ_CHECK(block != nullptr);
  if (size > 0) std::memcpy(*block, bytes, size);
  Settings settings(block);
  DisposeHandle(block);
  ZPXPPD document(settings, nullptr, nullptr);
  if (document.IsValidPPD()) documentchecks::Exercise(document);
  return 0;
}
