// The save and load commands: the document's settings blob in a file, and the
// document rebuilt from one.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "NoteDefaultWarnings.h"
#include "PPDX/ZPXPPD.h"
#include "Tool.h"
#include "carbon/MacMemory.h"
#include "cf/CFFileURL.h"
#include "cf/CFRef.h"
#include "cf/CFURLFileReplace.h"
#include "cf/CoreFoundation.h"
#include "foundation/PPDFile.h"
#include "foundation/Settings.h"

namespace zpxtool {
namespace {

// No blob of a document comes near this; a larger file is not one. Save refuses
// to write what load would refuse to read.
const off_t kMaxBlobBytes = 64L << 20;

// Null when the blob may be written at `target`; otherwise why not. A link at the
// target is replaced, never followed; anything else but a regular file stays.
const char* TargetRefusal(const char* target, const char* input) {
  struct stat at;
  if (lstat(target, &at) != 0) return nullptr;
  if (S_ISDIR(at.st_mode)) return "is a directory";
  if (!S_ISREG(at.st_mode) && !S_ISLNK(at.st_mode)) return "not a regular file";
  struct stat source;
  if (stat(input, &source) == 0 && source.st_dev == at.st_dev && source.st_ino == at.st_ino)
    return "is the PPD being saved";
  return nullptr;
}

// Why the file cannot be a blob (a directory, empty, too large), or null.
const char* BlobFileRefusal(const struct stat& info) {
  if (S_ISDIR(info.st_mode)) return "is a directory";
  if (!S_ISREG(info.st_mode)) return "not a regular file";
  if (info.st_size == 0) return "empty file";
  if (info.st_size > kMaxBlobBytes) return "larger than the 64 MB a blob may have";
  return nullptr;
}

// The bytes of the open file in a new handle, or null after saying why.
Handle ReadBlob(int fd, const char* path) {
  struct stat info;
  if (fstat(fd, &info) != 0) return Fail(path, std::strerror(errno)), nullptr;
  if (const char* refusal = BlobFileRefusal(info)) return Fail(path, refusal), nullptr;
  Handle bytes = NewHandle(Size(info.st_size));
  if (bytes == nullptr) return Fail(path, "not enough memory to read it"), nullptr;
  if (pread(fd, *bytes, size_t(info.st_size), 0) != info.st_size) {
    Fail(path, errno != 0 ? std::strerror(errno) : "the file changed while it was read");
    DisposeHandle(bytes);
    return nullptr;
  }
  return bytes;
}

// The file's bytes in a new handle (the caller disposes it), or null after
// saying why. Opened without blocking, so that a FIFO is refused at once.
Handle ReadFile(const char* path) {
  int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return Fail(path, std::strerror(errno)), nullptr;
  Handle bytes = ReadBlob(fd, path);
  close(fd);
  return bytes;
}

}  // namespace

int Save(int argc, char** argv) {
  if (argc != 2) return Usage("save FILE BLOB");
  if (const char* refusal = TargetRefusal(argv[1], argv[0])) return Fail(argv[1], refusal);
  std::unique_ptr<ZPXPPD> document = ParseDocument(argv[0]);
  if (!document) return kExitNotPPD;
  if (!document->IsValidPPD()) return Fail(argv[0], "not a valid PPD (see zpx-ppd check)");
  Settings settings;
  Handle flattened = nullptr;
  if (!document->Save(settings) || settings.GetSettingsHandle(&flattened) != 0)
    return Fail(argv[0], "the document could not be saved");
  const Size size = GetHandleSize(flattened);
  const int error = size > kMaxBlobBytes
                        ? EFBIG
                        : CFURLFileReplace::Write(argv[1], *flattened, size_t(size),
                                                  CFURLFileReplace::kReplaceLink);
  DisposeHandle(flattened);
  if (size > kMaxBlobBytes)
    return Fail(argv[1], "the blob would be larger than the 64 MB that load reads");
  return error == 0 ? kExitPPD : Fail(argv[1], std::strerror(error));
}

int Load(int argc, char** argv) {
  if (argc < 1 || argc > 2) return Usage("load BLOB [PPD]");
  Handle bytes = ReadFile(argv[0]);
  if (bytes == nullptr) return kExitNotPPD;
  Settings settings(bytes);
  DisposeHandle(bytes);
  CFRef<CFURLRef> url(argc == 2 ? CreateFileURL(argv[1]) : nullptr);
  ZPXPPD document(settings, url.get(), nullptr);
  if (!document.IsValidPPD()) return Fail(argv[0], "not a settings blob of a document");
  // A blob keeps no parse, so neither errors nor warnings.
  WriteJson(document, document.File() != nullptr ? document.File()->path().c_str() : nullptr, {});
  return kExitPPD;
}

}  // namespace zpxtool
