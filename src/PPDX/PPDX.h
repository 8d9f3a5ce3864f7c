#pragma once
// The base of a parsed PPD document: the file it comes from, the header texts
// that every document keeps, and the token readers that every parse routine
// uses to take a PPD line apart.

#include <memory>

class CString;
class PPDFile;
class PPDFileStream;
class PPDStream;

class PPDX {
 public:
  // The document owns the file it is given (may be null: an empty document).
  PPDX();
  explicit PPDX(PPDFile* file);
  virtual ~PPDX();

  PPDX(const PPDX&) = delete;
  PPDX& operator=(const PPDX&) = delete;

  // Header texts, null when the PPD did not give them.
  const char* FormatVersion() const;
  const char* FileVersion() const;
  const char* PCFileName() const;
  const char* LanguageVersion() const;
  const char* LanguageEncoding() const;
  const char* ModelName() const;

  PPDFile* File() const { return mFile.get(); }

  // Reads the next token of `stream` into `out` (256 bytes). The token ends at
  // the end of the stream, a line feed, a lone carriage return or any byte of
  // `delimiters` (null: the rest of the line); that byte is consumed. Returns
  // false for an empty token; `strip` then trims spaces and tabs at both ends.
  static bool NextToken(PPDStream& stream, char* out, const char* delimiters, bool strip);

  // Reads the double-quoted value of a line into `out` (NUL-terminated, at
  // most capacity - 1 bytes). A value not closed on its line goes on through
  // the lines of the file being parsed, which are consumed but not kept.
  // Returns false when no value was read.
  bool GetQuotedString(PPDStream& line, char* out, const unsigned long& capacity);

  // Reads a double-quoted PostScript value, continuation lines included, into
  // `out` (not NUL-terminated); the value always ends with a line feed.
  // Returns its length with that line feed, or 0 for no value.
  unsigned long GetPostscriptString(PPDStream& line, char* out, const unsigned long& capacity);

  static void StripLeadingWhiteSpace(char* text);

 protected:
  enum HeaderField {
    kFormatVersion,
    kFileVersion,
    kPCFileName,
    kLanguageVersion,
    kLanguageEncoding,
    kModelName,
    kHeaderFieldCount
  };

  // Replaces a header text; null removes it.
  void SetHeaderField(HeaderField field, const char* text);
  const char* HeaderText(HeaderField field) const;

  // The line source while a parse runs; continuation lines of values are
  // fetched through it. Not owned; null outside a parse.
  void SetStream(PPDFileStream* stream) { mStream = stream; }
  PPDFileStream* Stream() const { return mStream; }

 private:
  // Consumes the lines that continue a quoted value; true once a line with
  // the closing quote, or a line that begins a keyword, has been consumed.
  bool SkipContinuationLines();

  std::unique_ptr<PPDFile> mFile;
  std::unique_ptr<CString> mHeader[kHeaderFieldCount];
  PPDFileStream* mStream = nullptr;
};
