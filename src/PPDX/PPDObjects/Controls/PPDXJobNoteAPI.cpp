#include "PPDX/PPDObjects/Controls/PPDXJobNoteAPI.h"

#include "PPDX/PPDObjects/Controls/PPDXJobNote.h"

const char* GetJobNoteNotes(PPDXJobNote* note) { return note ? note->GetNotes() : nullptr; }

const char* GetJobNoteDefaultNotes(PPDXJobNote* note) {
  return note ? note->GetDefaultNotes() : nullptr;
}

void SetJobNoteNotes(PPDXJobNote* note, const char* text) {
  if (note) note->SetNotes(text);
}

CFStringRef CopyJobNoteNotes(PPDXJobNote* note) { return note ? note->CopyNotes() : nullptr; }

bool GetJobNoteNotesOnValue(PPDXJobNote* note) { return note ? note->GetNotesOnValue() : false; }

void SetJobNoteNotesOnValue(PPDXJobNote* note, bool on) {
  if (note) note->SetNotesOnValue(on);
}

long GetJobNoteMaxLength(PPDXJobNote* note) { return note ? note->MaxLength() : 0; }

long GetJobNoteMinLength(PPDXJobNote* note) { return note ? note->MinLength() : 0; }

UInt32 GetJobNoteFlags(PPDXJobNote* note) { return note ? note->Flags().Value() : 0; }

namespace {

bool HasFlags(PPDXJobNote* note, UInt32 bits) { return note ? note->Flags().Has(bits) : false; }

}  // namespace

bool IsJobNoteAlpha(PPDXJobNote* note) { return HasFlags(note, JobNoteFlag::kAlpha); }
bool IsJobNoteNumeric(PPDXJobNote* note) { return HasFlags(note, JobNoteFlag::kNumeric); }
bool IsJobNoteDecimal(PPDXJobNote* note) { return HasFlags(note, JobNoteFlag::kDecimal); }
bool IsJobNoteRequired(PPDXJobNote* note) { return HasFlags(note, JobNoteFlag::kRequired); }
bool IsJobNoteRemembered(PPDXJobNote* note) { return HasFlags(note, JobNoteFlag::kRemembered); }
bool IsJobNotePassword(PPDXJobNote* note) { return HasFlags(note, JobNoteFlag::kPassword); }
bool IsJobNoteAlwaysDisplay(PPDXJobNote* note) {
  return HasFlags(note, JobNoteFlag::kAlwaysDisplay);
}
bool IsJobNoteResume(PPDXJobNote* note) { return HasFlags(note, JobNoteFlag::kResume); }
bool IsJobNoteMember(PPDXJobNote* note) { return HasFlags(note, JobNoteFlag::kMember); }
bool IsJobNoteOnOffSwitch(PPDXJobNote* note) { return HasFlags(note, JobNoteFlag::kOnOffSwitch); }
bool IsJobNoteLengthReq(PPDXJobNote* note) { return HasFlags(note, JobNoteFlag::kLengthReq); }
bool IsJobNoteSecPrint(PPDXJobNote* note) { return HasFlags(note, JobNoteFlag::kSecPrint); }
bool IsJobNoteSpace(PPDXJobNote* note) { return HasFlags(note, JobNoteFlag::kSpace); }
bool IsJobNoteNegative(PPDXJobNote* note) { return HasFlags(note, JobNoteFlag::kNegative); }
bool IsJobNoteEncrypt(PPDXJobNote* note) { return HasFlags(note, JobNoteFlag::kEncrypt); }
bool IsJobNoteMultiSpace(PPDXJobNote* note) { return HasFlags(note, JobNoteFlag::kMultiSpace); }
bool IsJobNoteMultiComma(PPDXJobNote* note) { return HasFlags(note, JobNoteFlag::kMultiComma); }
bool IsJobNoteLCD(PPDXJobNote* note) { return HasFlags(note, JobNoteFlag::kLCD); }
bool IsJobNoteHyphen(PPDXJobNote* note) { return HasFlags(note, JobNoteFlag::kHyphen); }
bool IsJobNoteTwoCharFields(PPDXJobNote* note) {
  return HasFlags(note, JobNoteFlag::kTwoCharField);
}
bool IsJobNoteNoComma(PPDXJobNote* note) { return HasFlags(note, JobNoteFlag::kNoComma); }
bool IsJobNoteAnyText(PPDXJobNote* note) { return note ? note->IsAnyText() : false; }
