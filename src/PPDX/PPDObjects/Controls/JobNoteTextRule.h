#pragma once
// Which texts a job note takes. The text reaches the job twice, as the option of
// its feature frame and inside the note's code, so a line end in it would close
// the frame and start PostScript of the user's own: no note ever takes a control
// character, and the note itself keeps to that (IsSafe) whatever the text's
// source. Beyond that the PPD's flags name the characters the field takes and
// its lengths bound it; those describe the field, and only callers that take a
// value from a person or a client hold it to them (Judge, Explain).

#include <string>

#include "PPDX/PPDObjects/Controls/JobNoteFlag.h"

class JobNoteTextRule {
 public:
  enum Verdict { kAccepted, kControlCharacter, kCharacterNotTaken, kTooLong, kTooShort };

  // A maximum of 0 or less sets no bound; the minimum binds only a note with the
  // MinLength flag, and never an empty text (a note left blank).
  JobNoteTextRule(const JobNoteFlag& flags, long minLength, long maxLength);

  // True when the text holds no control character; a null text is no text.
  static bool IsSafe(const char* text);

  // A null text is no text, which every note takes.
  Verdict Judge(const char* text) const;
  bool Accepts(const char* text) const { return Judge(text) == kAccepted; }

  // The rule a refused text breaks, as the phrase that follows the option's
  // keyword in a message ("needs 4 to 8 digits", "takes letters and digits
  // only", "takes at most 32 characters", "takes no control characters"). It
  // never quotes the text, which may be a secret; "" for kAccepted.
  std::string Explain(Verdict verdict) const;

 private:
  bool Takes(unsigned char byte) const;
  bool HasMinimum() const;
  bool HasMaximum() const { return mMaxLength > 0; }
  // The characters the flags take, as nouns ("letters and digits"); "characters"
  // for free text. Singular nouns joined by "or" for a count of one.
  std::string Characters(long count) const;
  std::string Lengths() const;

  JobNoteFlag mFlags;
  long mMinLength;
  long mMaxLength;
};
