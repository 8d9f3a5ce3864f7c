#pragma once
// What the document's parse routines share: the delimiter sets of the PPD
// fields, the buffer sizes and the making of error objects.

#include "PPDX/PPDObjects/PPDXErrorCode.h"
#include "PPDX/PPDObjects/PPDXErrorObj.h"
#include "foundation/PPDStream.h"
#include "foundation/TokenDelimiters.h"

namespace zpxppd {

// A token or a line, with its terminator.
constexpr unsigned long kTokenSize = PPDStream::kMaxLine + 1;
constexpr unsigned long kQuotedCapacity = 256;
constexpr unsigned long kPostScriptCapacity = 4096;

inline constexpr TokenDelimiters kKeywordDelimiters(" \t:");
inline constexpr TokenDelimiters kOptionDelimiters("/:");
inline constexpr TokenDelimiters kTranslationDelimiters(":");
inline constexpr TokenDelimiters kFlagDelimiters("|:\"");
inline constexpr TokenDelimiters kTypeDelimiters(";(;)");
inline constexpr TokenDelimiters kRestOfLine("\n\r");

// Receives what the lines of an option block give.
class OptionBlockReader {
 public:
  virtual ~OptionBlockReader() = default;
  virtual void Default(const char* value) = 0;
  // Whether a "*Default:" line names the control before its default (a popup)
  // rather than giving the default at once (a Boolean).
  virtual bool DefaultLineNamesControl() const = 0;
  // `option` and `translation` are null when the line gives none; the
  // PostScript is not terminated and may be empty.
  virtual void Option(const char* option, const char* translation, const char* postScript,
                      unsigned long length) = 0;
};

// Whether the first token of the line after a job note's line opens the note's
// default ("*%Default...", whatever follows).
bool IsJobNoteDefault(const char* keyword);
// The text of a job note's default line, read from `rest` (the line after its
// first token) into `text` (kTokenSize bytes): up to a "|", ":" or quote,
// trimmed. False when the line gives none.
bool ReadJobNoteDefault(PPDStream& rest, char* text);

// A new error about `keyword` (none when null).
PPDXErrorObj* MakeError(PPDXErrorCode code, const char* keyword, bool fatal);

// A malloc'd copy of `length` bytes (null for none, or when memory runs out);
// the controls free their PostScript with free().
unsigned char* CopyPostScript(const char* bytes, unsigned long length);

}  // namespace zpxppd
