// The save and load commands: the document's settings blob in a file, and the
// document rebuilt from one.

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "PPDX/ZPXPPD.h"
#include "Tool.h"
#include "carbon/MacMemory.h"
#include "cf/CFRef.h"
#include "cf/CoreFoundation.h"
#include "foundation/PPDFile.h"
#include "foundation/Settings.h"

namespace zpxtool {
namespace {

// No blob of a document comes near this; a larger file is not one.
const std::streamoff kMaxBlobBytes = 64L << 20;

bool WriteFile(const char* path, const char* bytes, size_t length) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes, std::streamsize(length));
  return bool(out);
}

// The file's bytes in a new handle (the caller disposes it), or null.
Handle ReadFile(const char* path) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  if (!in) return nullptr;
  std::streamoff size = in.tellg();
  if (size <= 0 || size > kMaxBlobBytes) return nullptr;
  Handle bytes = NewHandle(Size(size));
  if (bytes == nullptr) return nullptr;
  in.seekg(0);
  if (!in.read(*bytes, std::streamsize(size))) {
    DisposeHandle(bytes);
    return nullptr;
  }
  return bytes;
}

CFURLRef CreateURL(const char* path) {
  return CFURLCreateFromFileSystemRepresentation(
      kCFAllocatorDefault, reinterpret_cast<const UInt8*>(path), CFIndex(std::strlen(path)), false);
}

}  // namespace

int Save(int argc, char** argv) {
  if (argc != 2) return Usage("save FILE BLOB");
  std::unique_ptr<ZPXPPD> document = ParseDocument(argv[0]);
  if (!document || !document->IsValidPPD()) return Fail(argv[0], "not a valid PPD (see zpx-ppd check)");
  Settings settings;
  Handle flattened = nullptr;
  if (!document->Save(settings) || settings.GetSettingsHandle(&flattened) != 0)
    return Fail(argv[0], "the document could not be saved");
  bool written = WriteFile(argv[1], *flattened, size_t(GetHandleSize(flattened)));
  DisposeHandle(flattened);
  return written ? kExitPPD : Fail(argv[1], "cannot write the file");
}

int Load(int argc, char** argv) {
  if (argc < 1 || argc > 2) return Usage("load BLOB [PPD]");
  Handle bytes = ReadFile(argv[0]);
  if (bytes == nullptr) return Fail(argv[0], "cannot read the file (missing, empty or too large)");
  Settings settings(bytes);
  DisposeHandle(bytes);
  CFRef<CFURLRef> url(argc == 2 ? CreateURL(argv[1]) : nullptr);
  ZPXPPD document(settings, url.get(), nullptr);
  if (!document.IsValidPPD()) return Fail(argv[0], "not a settings blob of a document");
  WriteJson(document, document.File() != nullptr ? document.File()->path().c_str() : nullptr);
  return kExitPPD;
}

}  // namespace zpxtool
