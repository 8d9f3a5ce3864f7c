#pragma once
// Flat interface to job notes, for callers that hold only a pointer. A null note
// answers 0, false or null and ignores what it is given.

#include "carbon/MacTypes.h"
#include "cf/CoreFoundation.h"
#include "foundation/ZPXExport.h"

class PPDXJobNote;

ZPX_EXPORT const char* GetJobNoteNotes(PPDXJobNote* note);
ZPX_EXPORT const char* GetJobNoteDefaultNotes(PPDXJobNote* note);
ZPX_EXPORT void SetJobNoteNotes(PPDXJobNote* note, const char* text);
// A new string that the caller releases.
ZPX_EXPORT CFStringRef CopyJobNoteNotes(PPDXJobNote* note);
ZPX_EXPORT bool GetJobNoteNotesOnValue(PPDXJobNote* note);
ZPX_EXPORT void SetJobNoteNotesOnValue(PPDXJobNote* note, bool on);
ZPX_EXPORT long GetJobNoteMaxLength(PPDXJobNote* note);
ZPX_EXPORT long GetJobNoteMinLength(PPDXJobNote* note);
// The flag bits, as the PPD's words set them.
ZPX_EXPORT UInt32 GetJobNoteFlags(PPDXJobNote* note);

ZPX_EXPORT bool IsJobNoteAlpha(PPDXJobNote* note);
ZPX_EXPORT bool IsJobNoteNumeric(PPDXJobNote* note);
ZPX_EXPORT bool IsJobNoteDecimal(PPDXJobNote* note);
ZPX_EXPORT bool IsJobNoteRequired(PPDXJobNote* note);
ZPX_EXPORT bool IsJobNoteRemembered(PPDXJobNote* note);
ZPX_EXPORT bool IsJobNotePassword(PPDXJobNote* note);
ZPX_EXPORT bool IsJobNoteAlwaysDisplay(PPDXJobNote* note);
ZPX_EXPORT bool IsJobNoteResume(PPDXJobNote* note);
ZPX_EXPORT bool IsJobNoteMember(PPDXJobNote* note);
ZPX_EXPORT bool IsJobNoteOnOffSwitch(PPDXJobNote* note);
ZPX_EXPORT bool IsJobNoteLengthReq(PPDXJobNote* note);
ZPX_EXPORT bool IsJobNoteSecPrint(PPDXJobNote* note);
ZPX_EXPORT bool IsJobNoteSpace(PPDXJobNote* note);
ZPX_EXPORT bool IsJobNoteNegative(PPDXJobNote* note);
ZPX_EXPORT bool IsJobNoteEncrypt(PPDXJobNote* note);
ZPX_EXPORT bool IsJobNoteMultiSpace(PPDXJobNote* note);
ZPX_EXPORT bool IsJobNoteMultiComma(PPDXJobNote* note);
ZPX_EXPORT bool IsJobNoteLCD(PPDXJobNote* note);
ZPX_EXPORT bool IsJobNoteHyphen(PPDXJobNote* note);
ZPX_EXPORT bool IsJobNoteTwoCharFields(PPDXJobNote* note);
ZPX_EXPORT bool IsJobNoteNoComma(PPDXJobNote* note);
ZPX_EXPORT bool IsJobNoteAnyText(PPDXJobNote* note);
