// The icon table is read from a bundle's folder, which anything may have
// written. Whatever the bytes, the table keeps its bounds: at most 999
// entries, each path a picture's, no line end left in it.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "FuzzCheck.h"
#include "ui/IconTable.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  if (size == 0) return 0;  // fmemopen refuses an empty buffer
  FILE* file = fmemopen(const_cast<uint8_t*>(bytes), size, "r");
  if (file == nullptr) return 0;
  IconTable table;
  table.Read(file);
  std::fclose(file);
  FUZZ_CHECK(table.Count() <= IconTable::kMaxEntries);
  // Every entry a lookup can reach answers a bounded picture path.
  const char* path = table.PathFor("ZPDuplex", "Top");
  FUZZ_CHECK(std::strlen(path) < IconTable::kPathSize);
  FUZZ_CHECK(std::strchr(path, '\r') == nullptr && std::strchr(path, '\n') == nullptr);
  FUZZ_CHECK(path[0] == '\0' || std::strstr(path, "png") != nullptr);
  return 0;
}
