#pragma once
// What the parser can find wrong with a PPD. Each value is the error's number,
// which is also the entry of its text in the plug-in's string list of errors;
// the numbers left out are never raised.

enum PPDXErrorCode : short {
  kPPDXErrOutOfMemory = 1,  // or a collection of the document is missing
  kPPDXErrPropertyPageWithoutName = 4,
  kPPDXErrBadGroupLine = 5,   // no keyword, or no known option block after it
  kPPDXErrBadJobNoteKey = 6,  // none, or not the one announced
  kPPDXErrBadRangeLine = 7,   // wrong key, no opening parenthesis or a number missing
  kPPDXErrOpenUIWithoutKeyword = 8,
  kPPDXErrBooleanNotTrueOrFalse = 9,
  kPPDXErrOpenUIZPXNotClosed = 10,
  kPPDXErrBadOptionBlock = 11,  // not closed, or two defaults
  kPPDXErrGroupNameWithoutName = 12,
  kPPDXErrBadParent = 14,  // missing, or of the wrong kind
  kPPDXErrIncompleteParentLine = 15,
  kPPDXErrBadFlagsLine = 16,  // no keyword, or no known option block after it
  kPPDXErrUnreadableFile = 18,
  kPPDXErrBadShortcut = 19,  // a reserved keyword, or one that names no control
  kPPDXErrOptionOutsideGroups = 21,
  kPPDXErrDuplicateName = 23,
  kPPDXErrNoPropertyPage = 25,
  kPPDXErrNoGroup = 26,
  kPPDXErrNoOption = 27,
  kPPDXErrNotVersion43 = 28,
  kPPDXErrOptionInNoRollDown = 29,
  kPPDXErrBadOpenUIType = 31,  // none, or one not known
  kPPDXErrJobNoteFlagBeyondLevel = 32,
  kPPDXErrNoDefault = 33,
  kPPDXErrOpenUIZPXSkipped = 34,
  kPPDXErrRangeWithoutPostScript = 35,
  kPPDXErrConstraintWithoutSecondKey = 36,
};
