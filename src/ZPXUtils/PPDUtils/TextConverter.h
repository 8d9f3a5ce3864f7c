#pragma once
// Turns PPD text (bytes in the PPD's language encoding, with hexadecimal escapes
// between angle brackets) into platform strings, and converts zero-terminated texts
// between two encodings for the code that sends text to the printer.

#include <string>

#include "ZPXUtils/PPDUtils/HexLanguageExceptions.h"
#include "carbon/TextEncodingConverter.h"

class PPDX;
struct __CFString;

class TextConverter {
 public:
  // The encoding value of a name that is not recognised, and of no encoding.
  static constexpr unsigned long kUnknownEncoding = 65535;

  // From the document's language encoding to the system's script encoding.
  explicit TextConverter(PPDX* document);
  // From the document's language encoding to the given encoding.
  TextConverter(PPDX* document, const unsigned long& outputEncoding);
  TextConverter(unsigned long& sourceEncoding, const unsigned long& outputEncoding);
  virtual ~TextConverter();

  TextConverter(const TextConverter&) = delete;
  TextConverter& operator=(const TextConverter&) = delete;

  // Creates the converter from the source to the output encoding; true on success.
  bool Create();
  bool ValidConverter() const { return mValid; }
  unsigned long GetOutputEncoding() const { return mOutputEncoding; }
  // The source-to-output converter, for callers that convert with it themselves.
  TECObjectRef GetConverter() const { return mConverter; }

  static unsigned long GetPPDEncoding(PPDX* document);
  // The system's current script encoding.
  static unsigned long GetCurrentEncoding();
  static unsigned long LanguageStringToEncoding(const char* name);

  // A new platform string from PPD text; the whole zero-terminated text is read,
  // whatever the length says.
  __CFString const* ConvertToCFString(const char* text, long length);
  // The same as from `sourceEncoding`, whatever this converter's source
  // encoding is now.
  __CFString const* ConvertToCFStringFrom(const char* text, unsigned long sourceEncoding);
  unsigned long SourceEncoding() const { return mSourceEncoding; }
  // The string in the system encoding, or "Translation Error" (both cut to fit).
  static void CFStringToCstring(__CFString const* string, char* buffer, long capacity);
  // Converts the text in place within its capacity; returns the last status.
  long Convert(char* text, long capacity);

  // Decodes the hex substrings of a zero-terminated text into a buffer at least as
  // long as the text with its terminator (the text itself will do: the result is
  // never longer); returns the length of the decoded text up to its first zero byte.
  static unsigned long DehexBufferFill(const char* text, char* buffer);

  static HexLanguageExceptions mExceptionsList;

 private:
  void SetUpFrom(PPDX* document, unsigned long outputEncoding);
  void DisposeConverter(TECObjectRef& converter);
  // The converter for a text that Convert is given; null, with the status,
  // when none could be made.
  TECObjectRef ConverterFor(const char* text, unsigned long length);
  TECObjectRef PreparedUTF8Converter();
  __CFString const* UnicodeString(const char* text, unsigned long length,
                                  unsigned long sourceEncoding);
  bool PrepareUnicodeConverter(unsigned long sourceEncoding);
  long ConvertInto(TECObjectRef converter, char* text, long capacity, const char* source,
                   unsigned long length);

  unsigned long mSourceEncoding = kUnknownEncoding;
  unsigned long mOutputEncoding = kUnknownEncoding;
  TECObjectRef mConverter = nullptr;
  long mLastStatus = 0;
  bool mValid = false;
  TECObjectRef mUnicodeConverter = nullptr;
  // UTF-8 to the output encoding, made on first need.
  TECObjectRef mUTF8Converter = nullptr;
  unsigned long mUnicodeSourceEncoding = kUnknownEncoding;
  std::string mLanguage;
};
