#pragma once
// Flat interface to a control collection, for callers that hold only a pointer.
// A null collection answers 0 or null, and counts as empty.

#include "PPDX/PPDObjects/PPDXControl.h"
#include "foundation/ZPXExport.h"

class PPDXBooleanControl;
class PPDXControls;
class PPDXFloatRangeControl;
class PPDXJobNote;
class PPDXPopupControl;
class PPDXRangeControl;

ZPX_EXPORT PPDXControl* Find(PPDXControls* controls, const char* keyword, CNTL_TYPE& type,
                             bool exact);
ZPX_EXPORT PPDXControl* GetFirst(PPDXControls* controls, CNTL_TYPE& type);
ZPX_EXPORT PPDXControl* GetNext(PPDXControls* controls, CNTL_TYPE& type);

ZPX_EXPORT PPDXPopupControl* GetFirstPopupControl(PPDXControls* controls);
ZPX_EXPORT PPDXPopupControl* GetNextPopupControl(PPDXControls* controls);
ZPX_EXPORT PPDXPopupControl* GetFindPopup(PPDXControls* controls, const char* keyword, bool exact);
ZPX_EXPORT PPDXBooleanControl* GetFirstBooleanControl(PPDXControls* controls);
ZPX_EXPORT PPDXBooleanControl* GetNextBooleanControl(PPDXControls* controls);
ZPX_EXPORT PPDXBooleanControl* GetFindBoolean(PPDXControls* controls, const char* keyword,
                                              bool exact);
ZPX_EXPORT PPDXRangeControl* GetFirstRangeControl(PPDXControls* controls);
ZPX_EXPORT PPDXRangeControl* GetNextRangeControl(PPDXControls* controls);
ZPX_EXPORT PPDXRangeControl* GetFindRangeControl(PPDXControls* controls, const char* keyword,
                                                 bool exact);
ZPX_EXPORT PPDXFloatRangeControl* GetFirstFloatRangeControl(PPDXControls* controls);
ZPX_EXPORT PPDXFloatRangeControl* GetNextFloatRangeControl(PPDXControls* controls);
ZPX_EXPORT PPDXFloatRangeControl* GetFindFloatRangeControl(PPDXControls* controls,
                                                           const char* keyword, bool exact);
ZPX_EXPORT PPDXJobNote* GetFirstJobNote(PPDXControls* controls);
ZPX_EXPORT PPDXJobNote* GetNextJobNote(PPDXControls* controls);
ZPX_EXPORT PPDXJobNote* GetFindJobNote(PPDXControls* controls, const char* keyword, bool exact);

ZPX_EXPORT unsigned long GetPopupCount(PPDXControls* controls);
ZPX_EXPORT unsigned long GetBooleanCount(PPDXControls* controls);
ZPX_EXPORT unsigned long GetRangeCount(PPDXControls* controls);
ZPX_EXPORT unsigned long GetFloatRangeCount(PPDXControls* controls);
ZPX_EXPORT bool GetNoPopups(PPDXControls* controls);
ZPX_EXPORT bool GetNoBooleanControls(PPDXControls* controls);
ZPX_EXPORT bool GetNoRangeControls(PPDXControls* controls);
ZPX_EXPORT bool GetNoFloatRangeControls(PPDXControls* controls);
ZPX_EXPORT unsigned long GetJobnoteCount(PPDXControls* controls);
ZPX_EXPORT bool GetNoJobNotes(PPDXControls* controls);
ZPX_EXPORT unsigned long GetControlCount(PPDXControls* controls);
ZPX_EXPORT bool GetEmpty(PPDXControls* controls);
