#pragma once
// A display name as a PPD's translation string: in the file's own encoding
// (its *LanguageEncoding), with the bytes a translation cannot hold (":", "<",
// ">", quotes and control characters) written as hexadecimal substrings, and
// at most the 80 bytes a print server keeps, cut on a character boundary.

#include <string>

#include "cf/CoreFoundation.h"

namespace zpxtool {

class TranslationText {
 public:
  static constexpr size_t kMaxBytes = 80;

  // ISOLatin1 for an encoding the print server does not name.
  explicit TranslationText(const char* languageEncoding);

  // "" for a null name.
  std::string Of(CFStringRef name) const;
  std::string OfUTF8(const std::string& name) const;

 private:
  std::string Escaped(const std::string& bytes) const;
  bool StartsCharacter(unsigned char byte) const;

  CFStringEncoding mEncoding;
};

}  // namespace zpxtool
