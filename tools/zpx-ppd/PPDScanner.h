#pragma once
// Reads a PPD with the document's stream and token readers, keeping counts: the
// lines, the main keywords and the line, if any, at which a parse stops; and
// where the job notes' defaults stand.

#include <cstring>
#include <string>
#include <vector>

#include "LineCountingStream.h"
#include "PPDX/PPDX.h"
#include "PPDX/ZPXPPDParse.h"
#include "carbon/MacErrors.h"
#include "foundation/BoyerMoore.h"
#include "foundation/PPDFile.h"
#include "foundation/PPDStream.h"

namespace zpxtool {

inline const char kHeaderKeyword[] = "*PPD-Adobe";
inline const char kHeaderVersion[] = "4.3";
inline const char kPCFileNameKeyword[] = "*PCFileName";
// The printer-name check looks for *PCFileName only in the head of the file.
inline const unsigned long kHeadBytes = 4096;
inline const unsigned long kQuotedCapacity = 256;

enum LineResult { kLineComplete, kLineTooLong, kLineByte255, kLineUnterminated, kNoMoreLines };

// A job note's default as the line after the note's line gives it.
struct NoteDefault {
  long line;
  std::string keyword;  // the note's, with its "*"
  std::string text;
};

struct ScanReport {
  long lines = 0;
  long mainKeywords = 0;
  long stopLine = 0;
  LineResult stopReason = kLineComplete;
  std::vector<NoteDefault> noteDefaults;
};

// Why a line stops a parse, as a phrase; "none" for a complete line.
inline const char* StopText(LineResult reason) {
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
inline bool IsMainKeyword(const char* token) {
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
    return NextToken(lineStream, token, " \t:", true) &&
           std::strcmp(token, kPCFileNameKeyword) == 0 &&
           GetQuotedString(lineStream, value, kQuotedCapacity);
  }

  // The parser's header test: the first token of the file is exactly
  // *PPD-Adobe and its quoted value exactly "4.3".
  bool HeaderIsPPD43(LineCountingStream& stream) {
    char token[PPDStream::kMaxLine + 1];
    char version[kQuotedCapacity];
    SetStream(&stream);
    bool passed = NextToken(stream, token, " \t:", true) &&
                  std::strcmp(token, kHeaderKeyword) == 0 &&
                  GetQuotedString(stream, version, kQuotedCapacity) &&
                  std::strcmp(version, kHeaderVersion) == 0;
    SetStream(nullptr);
    return passed;
  }

  ScanReport ScanLines(LineCountingStream& stream) {
    ScanReport report;
    report.mainKeywords = 1;  // *PPD-Adobe, read by the header test
    char line[PPDStream::kMaxLine + 1];
    std::string noteKeyword;  // of the note on the line before, if any
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
      if (!NextToken(lineStream, token, " \t:", true)) token[0] = '\0';
      if (IsMainKeyword(token)) ++report.mainKeywords;
      // The parse reads no note from the line that stops it on.
      if (report.stopLine == 0)
        noteKeyword = ReadNoteLine(token, lineStream, lineNumber, noteKeyword, report);
    }
    report.lines += stream.Lines();
    return report;
  }

  // The whole file; false when it cannot be read or has no PPD 4.3 header.
  bool ScanFile(ScanReport& report) {
    LineCountingStream stream(File(), true);
    if (stream.Bad() || !HeaderIsPPD43(stream)) return false;
    report = ScanLines(stream);
    return true;
  }

 private:
  // Reads a job note's line (its keyword, returned) or, after one, its default
  // line the way the parser does; "" for any other line.
  static std::string ReadNoteLine(const char* token, PPDStream& rest, long lineNumber,
                                  const std::string& noteKeyword, ScanReport& report) {
    char text[PPDStream::kMaxLine + 1];
    if (std::strcmp(token, "*%ZPXJobNote") == 0)
      return NextToken(rest, text, zpxppd::kOptionDelimiters, true) ? text : "";
    if (!noteKeyword.empty() && zpxppd::IsJobNoteDefault(token) &&
        zpxppd::ReadJobNoteDefault(rest, text))
      report.noteDefaults.push_back({lineNumber, noteKeyword, text});
    return "";
  }

  // Reads one line of the file, going past a line that stops a parse so that
  // the counts cover the whole file.
  static LineResult NextLine(LineCountingStream& stream, char* line) {
    if (stream.GetLine(line)) return kLineComplete;
    if (stream.EndOfFile() || stream.Bad())
      return line[0] != '\0' ? kLineUnterminated : kNoMoreLines;
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

}  // namespace zpxtool
