// The scan command: the file read the way the parser reads it.

#include <cstdio>

#include "PPDScanner.h"
#include "Tool.h"
#include "foundation/PPDFile.h"

namespace zpxtool {

int Scan(int argc, char** argv) {
  if (argc != 1) return Usage("scan FILE");
  const char* path = argv[0];
  if (!IsInputFile(path)) return kExitNotPPD;
  PPDScanner scanner(path);
  PPDFile* file = scanner.File();
  if (!file->exists()) return Fail(path, "cannot open the file (not found or not a file)");
  char pcFileName[kQuotedCapacity];
  bool hasPCFileName = scanner.FindPCFileName(pcFileName);
  LineCountingStream stream(file, true);
  if (stream.Bad())
    return Fail(path, file->dataForkSize() == 0 ? "empty file" : "cannot read the file");
  if (!scanner.HeaderIsPPD43(stream))
    return Fail(path, "not a PPD 4.3 file (no *PPD-Adobe: \"4.3\" header)");
  ScanReport report = scanner.ScanLines(stream);
  std::printf("file: %s\n", Printable(path).c_str());
  std::printf("header: %s \"%s\"\n", kHeaderKeyword, kHeaderVersion);
  if (hasPCFileName)
    std::printf("PCFileName: \"%s\"\n", Printable(pcFileName).c_str());
  else
    std::printf("PCFileName: none in the first %lu bytes\n", kHeadBytes);
  std::printf("lines: %ld\n", report.lines);
  std::printf("main keywords: %ld\n", report.mainKeywords);
  if (report.stopLine == 0)
    std::printf("stop: none\n");
  else
    std::printf("stop: line %ld: %s\n", report.stopLine, StopText(report.stopReason));
  return kExitPPD;
}

}  // namespace zpxtool
