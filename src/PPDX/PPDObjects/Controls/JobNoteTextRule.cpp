#include "PPDX/PPDObjects/Controls/JobNoteTextRule.h"

#include <cstring>

namespace {

bool IsControl(unsigned char byte) { return byte < 0x20 || byte == 0x7F; }
bool IsDigit(unsigned char byte) { return byte >= '0' && byte <= '9'; }
// Letters beyond ASCII arrive as UTF-8, every byte of them at 0x80 or above.
bool IsLetter(unsigned char byte) {
  return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') || byte >= 0x80;
}

}  // namespace

JobNoteTextRule::JobNoteTextRule(const JobNoteFlag& flags, long minLength, long maxLength)
    : mFlags(flags), mMinLength(minLength), mMaxLength(maxLength) {}

JobNoteTextRule::Verdict JobNoteTextRule::Judge(const char* text) const {
  if (text == nullptr) return kAccepted;
  const long length = long(std::strlen(text));
  for (const char* at = text; *at != '\0'; ++at) {
    const auto byte = static_cast<unsigned char>(*at);
    if (IsControl(byte)) return kControlCharacter;
    if (!Takes(byte)) return kCharacterNotTaken;
  }
  if (mMaxLength > 0 && length > mMaxLength) return kTooLong;
  if (mFlags.Has(JobNoteFlag::kMinLength) && length > 0 && length < mMinLength) return kTooShort;
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

const char* JobNoteTextRule::Describe(Verdict verdict) {
  switch (verdict) {
    case kControlCharacter:
      return "a control character";
    case kCharacterNotTaken:
      return "a character its flags do not allow";
    case kTooLong:
      return "longer than its maximum length";
    case kTooShort:
      return "shorter than its minimum length";
    default:
      return "nothing wrong";
  }
}
