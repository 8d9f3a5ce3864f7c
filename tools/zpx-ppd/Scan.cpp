// The scan command: the file read the way the parser reads it.

#include <cstdio>
#include <cstring>

#include "PPDX/PPDX.h"
#include "Tool.h"
#include "carbon/MacErrors.h"
#include "foundation/BoyerMoore.h"
#include "foundation/PPDFile.h"
#include "foundation/PPDFileStream.h"
#include "foundation/PPDStream.h"

namespace zpxtool {
namespace {

const char kHeaderKeyword[] = "*PPD-Adobe";
const char kHeaderVersion[] = "4.3";
const char kPCFileNameKeyword[] = "*PCFileName";
// The printer-name check looks for *PCFileName only in the head of the file.
const unsigned long kHeadBytes = 4096;
const unsigned long kQuotedCapacity = 256;

// Counts the lines that a parse would take from the file (line ends consumed),
// including those that value readers take for continuations.
class LineCountingStream : public PPDFileStream {
 public:
  using PPDFileStream::PPDFileStream;

  bool GetLine(char* out) override {
    bool complete = PPDFileStream::GetLine(out);
    if (complete) ++mLines;
    return complete;
  }

  long Lines() const { return mLines; }

 private:
  long mLines = 0;
};

enum LineResult { kLineComplete, kLineTooLong, kLineByte255, kLineUnterminated, kNoMoreLines };

struct ScanReport {
  long lines = 0;
  long mainKeywords = 0;
  long stopLine = 0;
  LineResult stopReason = kLineComplete;
};

const char* StopText(LineResult reason) {
  switch (reason) {
    case kLineTooLong:
      return "longer than 255 bytes";
    case kLineByte255:
      return "holds a byte 255";
    case kLineUnterminated:
      return "last line has no line end";
    default:
      return "none";
  }
}

// Main keywords are the lines whose first token begins with "*", leaving out
// the "*End" that closes a long value and comments ("*%...") other than the
// maker's extension keywords ("*%ZP...", "*%ParamCustomPrintSize").
bool IsMainKeyword(const char* token) {
  if (token[0] != '*' || std::strcmp(token, "*End") == 0) return false;
  return token[1] != '%' || std::strncmp(token, "*%ZP", 4) == 0 ||
         std::strcmp(token, "*%ParamCustomPrintSize") == 0;
}

// Reads a PPD with the document's stream and token readers, keeping counts.
class PPDScanner : public PPDX {
 public:
  explicit PPDScanner(const char* path) : PPDX(new PPDFile(path)) {}

  // The quoted value of the first *PCFileName in the head of the file; false
  // when there is none.
  bool FindPCFileName(char* value) {
    char head[kHeadBytes] = {};
    unsigned long count = kHeadBytes;
    if (File()->openDataFork(fsRdPerm) != noErr) return false;
    File()->dataForkRead(head, &count);
    File()->closeDataFork();
    BoyerMoore search;
    search.SetSearchString(kPCFileNameKeyword, static_cast<short>(std::strlen(kPCFileNameKeyword)));
    search.SetSearchData(head, static_cast<long>(count));
    long found = search.Search();
    if (found < 0) return false;
    char line[PPDStream::kMaxLine + 1];
    PPDStream rest(head + found, static_cast<long>(count) - found);
    rest.GetLine(line);
    PPDStream lineStream(line, static_cast<long>(std::strlen(line)));
    char token[PPDStream::kMaxLine + 1];
    return NextToken(lineStream, token, " \t:", true) && std::strcmp(token, kPCFileNameKeyword) == 0 &&
           GetQuotedString(lineStream, value, kQuotedCapacity);
  }

  // The parser's header test: the first token of the file is exactly
  // *PPD-Adobe and its quoted value exactly "4.3".
  bool HeaderIsPPD43(LineCountingStream& stream) {
    char token[PPDStream::kMaxLine + 1];
    char version[kQuotedCapacity];
    SetStream(&stream);
    bool passed = NextToken(stream, token, " \t:", true) && std::strcmp(token, kHeaderKeyword) == 0 &&
                  GetQuotedString(stream, version, kQuotedCapacity) &&
                  std::strcmp(version, kHeaderVersion) == 0;
    SetStream(nullptr);
    return passed;
  }

  ScanReport ScanLines(LineCountingStream& stream) {
    ScanReport report;
    report.mainKeywords = 1;  // *PPD-Adobe, read by the header test
    char line[PPDStream::kMaxLine + 1];
    for (;;) {
      long lineNumber = stream.Lines() + 1;
      LineResult result = NextLine(stream, line);
      if (result == kNoMoreLines) break;
      if (result != kLineComplete && report.stopLine == 0) {
        report.stopLine = lineNumber;
        report.stopReason = result;
      }
      if (result == kLineUnterminated) ++report.lines;
      PPDStream lineStream(line, static_cast<long>(std::strlen(line)));
      char token[PPDStream::kMaxLine + 1];
      if (NextToken(lineStream, token, " \t:", true) && IsMainKeyword(token)) ++report.mainKeywords;
    }
    report.lines += stream.Lines();
    return report;
  }

 private:
  // Reads one line of the file, going past a line that stops a parse so that
  // the counts cover the whole file.
  static LineResult NextLine(LineCountingStream& stream, char* line) {
    if (stream.GetLine(line)) return kLineComplete;
    if (stream.EndOfFile() || stream.Bad()) return line[0] != '\0' ? kLineUnterminated : kNoMoreLines;
    LineResult result = stream.PeekChar() == 255 ? kLineByte255 : kLineTooLong;
    SkipRestOfLine(stream);
    return result;
  }

  static void SkipRestOfLine(LineCountingStream& stream) {
    char rest[PPDStream::kMaxLine + 1];
    for (;;) {
      char skipped;
      if (stream.PeekChar() == 255) stream.GetChar(skipped);
      if (stream.GetLine(rest) || stream.EndOfFile() || stream.Bad()) return;
    }
  }
};

}  // namespace

int Scan(int argc, char** argv) {
  if (argc != 1) return Usage("scan FILE");
  const char* path = argv[0];
  PPDScanner scanner(path);
  PPDFile* file = scanner.File();
  if (!file->exists()) return Fail(path, "cannot open the file (not found or not a file)");
  char pcFileName[kQuotedCapacity];
  bool hasPCFileName = scanner.FindPCFileName(pcFileName);
  LineCountingStream stream(file, true);
  if (stream.Bad()) return Fail(path, file->dataForkSize() == 0 ? "empty file" : "cannot read the file");
  if (!scanner.HeaderIsPPD43(stream)) return Fail(path, "not a PPD 4.3 file (no *PPD-Adobe: \"4.3\" header)");
  ScanReport report = scanner.ScanLines(stream);
  std::printf("file: %s\n", path);
  std::printf("header: %s \"%s\"\n", kHeaderKeyword, kHeaderVersion);
  if (hasPCFileName)
    std::printf("PCFileName: \"%s\"\n", pcFileName);
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
