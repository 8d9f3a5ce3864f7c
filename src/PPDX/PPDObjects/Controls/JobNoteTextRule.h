#pragma once
// Which texts a job note takes. The text reaches the job twice, as the option of
// its feature frame and inside the note's code, so a line end in it would close
// the frame and start PostScript of the user's own: no note ever takes a control
// character. Beyond that the PPD's flags name the characters the field takes and
// its lengths bound it.

#include "PPDX/PPDObjects/Controls/JobNoteFlag.h"

class JobNoteTextRule {
 public:
  enum Verdict { kAccepted, kControlCharacter, kCharacterNotTaken, kTooLong, kTooShort };

  // A maximum of 0 or less sets no bound; the minimum binds only a note with the
  // MinLength flag, and never an empty text (a note left blank).
  JobNoteTextRule(const JobNoteFlag& flags, long minLength, long maxLength);

  // A null text is no text, which every note takes.
  Verdict Judge(const char* text) const;
  bool Accepts(const char* text) const { return Judge(text) == kAccepted; }

  // What is wrong with a text, as a phrase ("a control character").
  static const char* Describe(Verdict verdict);

 private:
  bool Takes(unsigned char byte) const;

  JobNoteFlag mFlags;
  long mMinLength;
  long mMaxLength;
};
