#pragma once
// The base of a parsed PPD document: the file it comes from, the header texts
// that every document keeps, its parse errors, the converter of its texts, and
// the token readers that every parse routine uses to take a PPD line apart.

#include <memory>

#include "cf/CoreFoundation.h"
#include "foundation/DocumentStorage.h"
#include "foundation/PPDStream.h"
#include "foundation/SettingsKeys.h"

class CString;
class PPDFile;
class PPDFileStream;
class PPDXErrorObj;
class PPDXErrors;
class Settings;
class TextConverter;
class TokenDelimiters;

class PPDX {
 public:
  // The document owns the file it is given (may be null: an empty document)
  // and starts with one reference, its creator's.
  PPDX();
  explicit PPDX(PPDFile* file);
  virtual ~PPDX();

  PPDX(const PPDX&) = delete;
  PPDX& operator=(const PPDX&) = delete;

  virtual void Retain();
  // Deletes the document when the last reference goes; true then.
  virtual bool Release();
  // Reads the file into the document; the base reads nothing (it only knows
  // the header texts, which its readers' callers set).
  virtual void Parse() {}
  // The standard header keywords; any other keyword is left alone.
  virtual PPDXErrorObj* ParsePSKeywords(PPDStream& line, const char* keyword);

  // When set, any error stops the parse and makes the document invalid.
  void AllErrorsFatal(const bool& allFatal) { mAllErrorsFatal = allFatal; }
  bool IsValidPPD() const;
  bool IsValidPrinterName() const { return mValidPrinterName; }
  PPDXErrors* GetErrors() const { return mErrors.get(); }
  // The platform encoding texts are converted to; 0 without a converter.
  unsigned long GetStringTextEncoding() const;

  // Header texts, null when the PPD did not give them.
  const char* FormatVersion() const;
  const char* FileVersion() const;
  const char* PCFileName() const;
  const char* LanguageVersion() const;
  const char* LanguageEncoding() const;
  const char* ModelName() const;

  PPDFile* File() const { return mFile.get(); }
  // Where the model places its small objects (popup choices, their texts and
  // codes, flag words, the nodes of the controls' lists); released when the
  // document goes.
  DocumentStorage& Storage() { return mStorage; }

  // The header entries of the settings blob (under kHeaderKey: the layout
  // version, the file location when there is a file, then each header text
  // that is set); false at the first entry that cannot be added.
  virtual bool Save(Settings& settings);

  // A new platform string of a PPD translation (the caller releases it), never
  // null: a null text gives the empty string, and before the header named the
  // document's encoding the text is read as UTF-8.
  CFStringRef CreateDisplayName(const char* text);
  // What CreateDisplayName converts with: the document's converter, else one
  // that reads UTF-8.
  TextConverter& DisplayNameConverter();

  // Reads the next token of `stream` into `out` (256 bytes). The token ends at
  // the end of the stream, a line feed, a lone carriage return or any byte of
  // `delimiters` (null: the rest of the line); that byte is consumed. Returns
  // false for an empty token; `strip` then trims spaces and tabs at both ends.
  static bool NextToken(PPDStream& stream, char* out, const char* delimiters, bool strip);
  static bool NextToken(PPDStream& stream, char* out, const TokenDelimiters& delimiters,
                        bool strip);

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
  // Replaces a header text; null removes it.
  void SetHeaderField(HeaderField field, const char* text);
  const char* HeaderText(HeaderField field) const;

  // The line source while a parse runs; continuation lines of values are
  // fetched through it. Not owned; null outside a parse.
  void SetStream(PPDFileStream* stream);
  PPDFileStream* Stream() const { return mStream; }
  // The next line of the file being parsed, in place when the file is in
  // memory, else copied to `scratch` (256 bytes; see PPDStream::GetLine).
  // Once a line could not be read whole, no further line is: the rest of an
  // over-long line is never taken for a line of its own.
  bool FetchLine(PPDStream::Line& line, char* scratch);

  // Enters the error in the list; true when it ends the parse.
  bool AddError(PPDXErrorObj* error);
  void SetValid(bool valid) { mValid = valid; }
  bool HeaderPassed() const { return mValid; }

  // Rebuilding from a settings blob.
  void SetValidPrinterName(bool valid) { mValidPrinterName = valid; }
  // The header text stored in the blob, or none when the entry is missing.
  void RestoreHeaderField(Settings& settings, HeaderField field);
  // Adopts the file of a rebuilt document (it had none).
  void AdoptFile(PPDFile* file);
  // Makes the text converter once both language entries are known.
  void UpdateTextConverter();
  bool HasTextConverter() const { return mConverter != nullptr; }

 private:
  // Consumes the lines that continue a quoted value; true once a line with
  // the closing quote, or a line that begins a keyword, has been consumed.
  bool SkipContinuationLines();
  void DeleteErrors();

  // First, so that it outlives every object placed in it.
  DocumentStorage mStorage;
  bool mValid = false;
  bool mValidPrinterName = true;
  std::unique_ptr<PPDFile> mFile;
  std::unique_ptr<PPDXErrors> mErrors;
  bool mAllErrorsFatal = false;
  std::unique_ptr<CString> mHeader[kHeaderFieldCount];
  std::unique_ptr<TextConverter> mConverter;
  // Reads translations as UTF-8 until the header gives an encoding.
  std::unique_ptr<TextConverter> mUTF8Reader;
  PPDFileStream* mStream = nullptr;
  bool mStreamEnded = false;
  long mReferenceCount = 1;
};
