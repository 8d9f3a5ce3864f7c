#include "PPDX/PPDObjects/PPDXControlsAPI.h"

#include "PPDX/PPDObjects/PPDXControls.h"

PPDXControl* Find(PPDXControls* controls, const char* keyword, CNTL_TYPE& type, bool exact) {
  return controls ? controls->Find(keyword, type, exact) : nullptr;
}

PPDXControl* GetFirst(PPDXControls* controls, CNTL_TYPE& type) {
  return controls ? controls->First(type) : nullptr;
}

PPDXControl* GetNext(PPDXControls* controls, CNTL_TYPE& type) {
  return controls ? controls->Next(type) : nullptr;
}

PPDXPopupControl* GetFirstPopupControl(PPDXControls* controls) {
  return controls ? controls->FirstPopupControl() : nullptr;
}

PPDXPopupControl* GetNextPopupControl(PPDXControls* controls) {
  return controls ? controls->NextPopupControl() : nullptr;
}

PPDXPopupControl* GetFindPopup(PPDXControls* controls, const char* keyword, bool exact) {
  return controls ? controls->FindPopup(keyword, exact) : nullptr;
}

PPDXBooleanControl* GetFirstBooleanControl(PPDXControls* controls) {
  return controls ? controls->FirstBooleanControl() : nullptr;
}

PPDXBooleanControl* GetNextBooleanControl(PPDXControls* controls) {
  return controls ? controls->NextBooleanControl() : nullptr;
}

PPDXBooleanControl* GetFindBoolean(PPDXControls* controls, const char* keyword, bool exact) {
  return controls ? controls->FindBoolean(keyword, exact) : nullptr;
}

PPDXRangeControl* GetFirstRangeControl(PPDXControls* controls) {
  return controls ? controls->FirstRangeControl() : nullptr;
}

PPDXRangeControl* GetNextRangeControl(PPDXControls* controls) {
  return controls ? controls->NextRangeControl() : nullptr;
}

PPDXRangeControl* GetFindRangeControl(PPDXControls* controls, const char* keyword, bool exact) {
  return controls ? controls->FindRangeControl(keyword, exact) : nullptr;
}

PPDXFloatRangeControl* GetFirstFloatRangeControl(PPDXControls* controls) {
  return controls ? controls->FirstFloatRangeControl() : nullptr;
}

PPDXFloatRangeControl* GetNextFloatRangeControl(PPDXControls* controls) {
  return controls ? controls->NextFloatRangeControl() : nullptr;
}

PPDXFloatRangeControl* GetFindFloatRangeControl(PPDXControls* controls, const char* keyword,
                                                bool exact) {
  return controls ? controls->FindFloatRangeControl(keyword, exact) : nullptr;
}

PPDXJobNote* GetFirstJobNote(PPDXControls* controls) {
  return controls ? controls->FirstJobNote() : nullptr;
}

PPDXJobNote* GetNextJobNote(PPDXControls* controls) {
  return controls ? controls->NextJobNote() : nullptr;
}

PPDXJobNote* GetFindJobNote(PPDXControls* controls, const char* keyword, bool exact) {
  return controls ? controls->FindJobNote(keyword, exact) : nullptr;
}

unsigned long GetPopupCount(PPDXControls* controls) {
  return controls ? controls->PopupCount() : 0;
}

unsigned long GetBooleanCount(PPDXControls* controls) {
  return controls ? controls->BooleanCount() : 0;
}

unsigned long GetRangeCount(PPDXControls* controls) {
  return controls ? controls->RangeCount() : 0;
}

unsigned long GetFloatRangeCount(PPDXControls* controls) {
  return controls ? controls->FloatRangeCount() : 0;
}

bool GetNoPopups(PPDXControls* controls) { return controls ? controls->NoPopups() : true; }

bool GetNoBooleanControls(PPDXControls* controls) {
  return controls ? controls->NoBooleanControls() : true;
}

bool GetNoRangeControls(PPDXControls* controls) {
  return controls ? controls->NoRangeControls() : true;
}

bool GetNoFloatRangeControls(PPDXControls* controls) {
  return controls ? controls->NoFloatRangeControls() : true;
}

unsigned long GetJobnoteCount(PPDXControls* controls) {
  return controls ? controls->JobNoteCount() : 0;
}

bool GetNoJobNotes(PPDXControls* controls) { return controls ? controls->NoJobNotes() : true; }

unsigned long GetControlCount(PPDXControls* controls) {
  return controls ? controls->ControlCount() : 0;
}

bool GetEmpty(PPDXControls* controls) { return controls ? controls->Empty() : true; }
