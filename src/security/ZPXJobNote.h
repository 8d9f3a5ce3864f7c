#pragma once
// One job note of the document as the job's output sees it: which comment
// line the controller reads it from, its title and text, and its text
// encrypted for the controller.

#include <cstddef>

#include "comm/LinkElement_Dual.h"

class PPDXJobNote;
class ZPXPPD;

// A job-note keyword the controller reads from a comment line, and the
// line's prefix. The row's place is the note's special index.
struct KeywordMapRow {
  char keyword[256];
  char prefix[256];
};

enum : short {
  kKeywordMapRows = 9,
  kUserAuthNameRow = 6,
  kUserAuthPasswordRow = 7,
};

extern const KeywordMapRow gKeywordMap[kKeywordMapRows];

// The document whose special options choose the key and cipher of
// encryptNote; the job-note output sets it.
extern ZPXPPD* gZPXPPD;
// Set by every note made without keeping notes on; the job-note output
// clears it when it is done.
extern bool gUserAuthNameWasInited;

class ZPXJobNote : public LinkElement_Dual {
 public:
  // The most ciphertext bytes a note may have, and the room encryptNote
  // needs for their hexadecimal text and its terminator.
  static constexpr size_t kMaxEncryptedBytes = 128;
  static constexpr size_t kEncryptedTextSize = 2 * kMaxEncryptedBytes + 1;

  // With keepNotesOn false the note takes the control's on/off state (and
  // sets gUserAuthNameWasInited); with true it switches the control on (and
  // clears the flag). The control stays the document's.
  ZPXJobNote(PPDXJobNote* control, bool keepNotesOn);

  PPDXJobNote* Control() const { return mControl; }
  bool NotesOn() const { return mNotesOn; }
  bool Initialised() const { return mInitialised; }

  // The row of gKeywordMap with the control's keyword, or -1 and false.
  bool specialKeyword(short* index) const;
  // The length of the control's title with its terminator (0 without one);
  // copies the title when out is given.
  long getTitle(char* out) const;
  // The length of the note's text with its terminator, 0 when the text is
  // empty; copies the text (empty when there is none) when out is given.
  long getUserData(char* out) const;
  // False only for a two-character-fields note whose text has a run of more
  // than two digits.
  bool checkRangeValues(const char* text) const;
  // The text encrypted for the controller as hexadecimal text in out, which
  // holds kEncryptedTextSize bytes and is cleared first. The document's
  // "*UseSpecialKey" picks the key, "*UseSpecialAlgorithm" "2" AES-256-CBC,
  // anything else DES-ECB. False without a document or text, and for a text
  // whose ciphertext would pass kMaxEncryptedBytes: it is refused, not cut.
  bool encryptNote(const char* unused, const char* plainText, char* out) const;

 private:
  PPDXJobNote* mControl;
  bool mNotesOn;
  bool mInitialised;
};
