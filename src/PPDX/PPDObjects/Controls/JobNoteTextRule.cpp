#include "PPDX/PPDObjects/Controls/JobNoteTextRule.h"

#include <cstring>
#include <vector>

namespace {

bool IsControl(unsigned char byte) { return byte < 0x20 || byte == 0x7F; }
bool IsDigit(unsigned char byte) { return byte >= '0' && byte <= '9'; }
// Letters beyond ASCII arrive as UTF-8, every byte of them at 0x80 or above.
bool IsLetter(unsigned char byte) {
  return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') || byte >= 0x80;
}

// "a", "a and b", "a, b and c" (with "or" in place of "and" when asked).
std::string Listed(const std::vector<const char*>& words, const char* conjunction) {
  std::string list;
  for (size_t at = 0; at < words.size(); ++at) {
    if (at > 0) list += at + 1 == words.size() ? std::string(" ") + conjunction + " " : ", ";
    list += words[at];
  }
  return list;
}

}  // namespace

JobNoteTextRule::JobNoteTextRule(const JobNoteFlag& flags, long minLength, long maxLength)
    : mFlags(flags), mMinLength(minLength), mMaxLength(maxLength) {}

bool JobNoteTextRule::IsSafe(const char* text) {
  if (text == nullptr) return true;
  for (const char* at = text; *at != '\0'; ++at)
    if (IsControl(static_cast<unsigned char>(*at))) return false;
  return true;
}

JobNoteTextRule::Verdict JobNoteTextRule::Judge(const char* text) const {
  if (text == nullptr) return kAccepted;
  if (!IsSafe(text)) return kControlCharacter;
  const long length = long(std::strlen(text));
  for (const char* at = text; *at != '\0'; ++at)
    if (!Takes(static_cast<unsigned char>(*at))) return kCharacterNotTaken;
  if (HasMaximum() && length > mMaxLength) return kTooLong;
  if (HasMinimum() && length > 0 && length < mMinLength) return kTooShort;
  return kAccepted;
}

bool JobNoteTextRule::Takes(unsigned char byte) const {
  if (byte == ',' && mFlags.IsNoComma()) return false;
  if (mFlags.IsAnyText()) return true;
  return (mFlags.IsAlpha() && IsLetter(byte)) ||
         ((mFlags.IsNumeric() || mFlags.IsDecimal()) && IsDigit(byte)) ||
         (mFlags.IsDecimal() && byte == '.') ||
         ((mFlags.IsSpace() || mFlags.IsMultiSpace()) && byte == ' ') ||
         ((mFlags.IsNegative() || mFlags.IsHyphen()) && byte == '-') ||
         (mFlags.IsMultiComma() && byte == ',');
}

bool JobNoteTextRule::HasMinimum() const {
  return mFlags.Has(JobNoteFlag::kMinLength) && mMinLength > 0;
}

std::string JobNoteTextRule::Explain(Verdict verdict) const {
  switch (verdict) {
    case kControlCharacter:
      return "takes no control characters";
    case kCharacterNotTaken:
      // Free text refuses nothing but the comma of a NoComma note.
      return mFlags.IsAnyText() ? "takes no commas" : "takes " + Characters(2) + " only";
    case kTooLong:
    case kTooShort:
      return Lengths();
    default:
      return "";
  }
}

std::string JobNoteTextRule::Characters(long count) const {
  const bool one = count == 1;
  if (mFlags.IsAnyText()) return one ? "character" : "characters";
  std::vector<const char*> nouns;
  if (mFlags.IsAlpha()) nouns.push_back(one ? "letter" : "letters");
  if (mFlags.IsNumeric() || mFlags.IsDecimal()) nouns.push_back(one ? "digit" : "digits");
  if (mFlags.IsDecimal()) nouns.push_back(one ? "decimal point" : "decimal points");
  if (mFlags.IsSpace() || mFlags.IsMultiSpace()) nouns.push_back(one ? "space" : "spaces");
  if (mFlags.IsNegative() || mFlags.IsHyphen()) nouns.push_back(one ? "hyphen" : "hyphens");
  if (mFlags.IsMultiComma() && !mFlags.IsNoComma()) nouns.push_back(one ? "comma" : "commas");
  return Listed(nouns, one ? "or" : "and");
}

std::string JobNoteTextRule::Lengths() const {
  const std::string most = std::to_string(mMaxLength);
  const std::string least = std::to_string(mMinLength);
  if (HasMinimum() && HasMaximum()) {
    if (mMinLength == mMaxLength) return "needs " + least + " " + Characters(mMinLength);
    return "needs " + least + " to " + most + " " + Characters(mMaxLength);
  }
  if (HasMaximum()) return "takes at most " + most + " " + Characters(mMaxLength);
  return "needs at least " + least + " " + Characters(mMinLength);
}
