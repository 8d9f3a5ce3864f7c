// String tables are read from a bundle's folder, which anything may have
// written. Any bytes must parse or be refused whole, and a refused table holds
// no entries.

#include <cstddef>
#include <cstdint>

#include "FuzzCheck.h"
#include "cf/CFStringsTable.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  CFStringsTable table;
  if (!table.Parse(bytes, size)) FUZZ_CHECK(table.Count() == 0);
  return 0;
}
