#include "PPDX/PPDObjects/PPDXControls.h"

#include <initializer_list>
#include <memory>
#include <new>

#include "PPDX/PPDObjects/Controls/PPDXBooleanControl.h"
#include "PPDX/PPDObjects/Controls/PPDXCustomPageSizeControl.h"
#include "PPDX/PPDObjects/Controls/PPDXFloatRangeControl.h"
#include "PPDX/PPDObjects/Controls/PPDXJobNote.h"
#include "PPDX/PPDObjects/Controls/PPDXPopupControl.h"
#include "PPDX/PPDObjects/Controls/PPDXRangeControl.h"
#include "PPDX/PPDObjects/Controls/PPDXSpecialOption.h"
#include "PPDX/PPDObjects/ElementWalk.h"
#include "PPDX/PPDObjects/SettingsEntryReader.h"
#include "PPDX/PPDObjects/SettingsEntryWriter.h"
#include "PPDX/PPDObjects/SettingsListReader.h"
#include "carbon/MacErrors.h"
#include "foundation/CString.h"
#include "foundation/SettingsKeys.h"

namespace {

enum ControlMarker {
  kBooleanMarker,
  kJobNoteMarker,
  kPopupMarker,
  kRangeMarker,
  kFloatRangeMarker,
  kSpecialOptionMarker,
  kMarkerCount
};
constexpr unsigned long kMarkers[kMarkerCount] = {
    PPDXBooleanControl::kMarker, PPDXJobNote::kMarker,           PPDXPopupControl::kMarker,
    PPDXRangeControl::kMarker,   PPDXFloatRangeControl::kMarker, PPDXSpecialOption::kMarker};

// Calls `visit` with the control as its own kind, the kinds tested in the order
// that decides a control's list; a control of no known kind is visited as it is.
template <class Visit>
auto VisitKind(PPDXControl* control, Visit&& visit) {
  if (auto* note = dynamic_cast<PPDXJobNote*>(control)) return visit(note);
  if (auto* boolean = dynamic_cast<PPDXBooleanControl*>(control)) return visit(boolean);
  if (auto* popup = dynamic_cast<PPDXPopupControl*>(control)) return visit(popup);
  if (auto* range = dynamic_cast<PPDXRangeControl*>(control)) return visit(range);
  if (auto* floatRange = dynamic_cast<PPDXFloatRangeControl*>(control)) return visit(floatRange);
  if (auto* pageSize = dynamic_cast<PPDXCustomPageSizeControl*>(control)) return visit(pageSize);
  if (auto* special = dynamic_cast<PPDXSpecialOption*>(control)) return visit(special);
  return visit(control);
}

PPDXControl* NewControl(int marker, Settings& settings, long index, UIConstraints* constraints,
                        CString* language, DocumentStorage* storage) {
  switch (marker) {
    case kBooleanMarker:
      return new (std::nothrow) PPDXBooleanControl(settings, index, constraints, storage);
    case kJobNoteMarker:
      return new (std::nothrow) PPDXJobNote(settings, index, language, storage);
    case kPopupMarker:
      return new (std::nothrow) PPDXPopupControl(settings, index, constraints, storage);
    case kRangeMarker:
      return new (std::nothrow) PPDXRangeControl(settings, index, storage);
    case kFloatRangeMarker:
      return new (std::nothrow) PPDXFloatRangeControl(settings, index, storage);
    case kSpecialOptionMarker:
      return new (std::nothrow) PPDXSpecialOption(settings, index, storage);
    default:
      return nullptr;
  }
}

}  // namespace

void PPDXControls::KindList::Add(PPDXControl* control) {
  controls.PushBack(control);
  counts.Add(control->IsOrphan(), !control->IsVisible());
}

PPDXControl* PPDXControls::KindList::First() {
  return WalkFirst<PPDXControl>(controls, cursor, WalkFilter::kNone);
}

PPDXControl* PPDXControls::KindList::Next() {
  return WalkNext<PPDXControl>(controls, cursor, WalkFilter::kNone);
}

PPDXControl* PPDXControls::KindList::Find(const char* keyword, bool exact) {
  return WalkFind<PPDXControl>(controls, cursor, WalkFilter::kNone, keyword, exact);
}

PPDXControls::PPDXControls() = default;

PPDXControls::PPDXControls(Settings& settings, UIConstraints* constraints,
                           DocumentStorage* storage) {
  if (storage != nullptr) PlaceNodesIn(*storage);
  std::unique_ptr<CString> language(
      SettingsEntryReader(settings, HeaderTextIndex(kLanguageEncoding)).Text(kHeaderKey));
  SettingsListReader list(settings);
  const long count = list.Count(kControlList);
  for (long index = kControlList.firstIndex; index < kControlList.firstIndex + count; ++index)
    Add(NewControl(list.Marker(index, kMarkers, kMarkerCount), settings, index, constraints,
                   language.get(), storage));
}

PPDXControls::~PPDXControls() = default;

void PPDXControls::PlaceNodesIn(DocumentStorage& storage) {
  mAll.PlaceNodesIn(storage);
  for (KindList* kind : {&mPopups, &mBooleans, &mRanges, &mFloatRanges, &mJobNotes,
                         &mSpecialOptions, &mCustomPageSizes})
    kind->controls.PlaceNodesIn(storage);
}

void PPDXControls::Add(PPDXControl* control) {
  if (control == nullptr) return;
  mAll.PushBack(control);
  KindList* kind = VisitKind(control, [this](auto* asKind) { return ListFor(asKind); });
  if (kind != nullptr) kind->Add(control);
}

PPDXControl* PPDXControls::First(CNTL_TYPE& type) {
  PPDXControl* control = WalkFirst<PPDXControl>(mAll, mCursor, WalkFilter::kDisplayable);
  if (control != nullptr) type = control->Type();
  return control;
}

PPDXControl* PPDXControls::Next(CNTL_TYPE& type) {
  PPDXControl* control = WalkNext<PPDXControl>(mAll, mCursor, WalkFilter::kDisplayable);
  if (control != nullptr) type = control->Type();
  return control;
}

PPDXPopupControl* PPDXControls::FirstPopupControl() {
  return static_cast<PPDXPopupControl*>(mPopups.First());
}

PPDXPopupControl* PPDXControls::NextPopupControl() {
  return static_cast<PPDXPopupControl*>(mPopups.Next());
}

PPDXBooleanControl* PPDXControls::FirstBooleanControl() {
  return static_cast<PPDXBooleanControl*>(mBooleans.First());
}

PPDXBooleanControl* PPDXControls::NextBooleanControl() {
  return static_cast<PPDXBooleanControl*>(mBooleans.Next());
}

PPDXRangeControl* PPDXControls::FirstRangeControl() {
  return static_cast<PPDXRangeControl*>(mRanges.First());
}

PPDXRangeControl* PPDXControls::NextRangeControl() {
  return static_cast<PPDXRangeControl*>(mRanges.Next());
}

PPDXFloatRangeControl* PPDXControls::FirstFloatRangeControl() {
  return static_cast<PPDXFloatRangeControl*>(mFloatRanges.First());
}

PPDXFloatRangeControl* PPDXControls::NextFloatRangeControl() {
  return static_cast<PPDXFloatRangeControl*>(mFloatRanges.Next());
}

PPDXJobNote* PPDXControls::FirstJobNote() { return static_cast<PPDXJobNote*>(mJobNotes.First()); }

PPDXJobNote* PPDXControls::NextJobNote() { return static_cast<PPDXJobNote*>(mJobNotes.Next()); }

PPDXSpecialOption* PPDXControls::FirstSpecialOption() {
  return static_cast<PPDXSpecialOption*>(mSpecialOptions.First());
}

PPDXSpecialOption* PPDXControls::NextSpecialOption() {
  return static_cast<PPDXSpecialOption*>(mSpecialOptions.Next());
}

PPDXControl* PPDXControls::Find(const char* keyword, CNTL_TYPE& type, const bool& exact) {
  PPDXControl* control =
      WalkFind<PPDXControl>(mAll, mCursor, WalkFilter::kDisplayable, keyword, exact);
  if (control != nullptr) type = control->Type();
  return control;
}

PPDXPopupControl* PPDXControls::FindPopup(const char* keyword, const bool& exact) {
  return static_cast<PPDXPopupControl*>(mPopups.Find(keyword, exact));
}

PPDXBooleanControl* PPDXControls::FindBoolean(const char* keyword, const bool& exact) {
  return static_cast<PPDXBooleanControl*>(mBooleans.Find(keyword, exact));
}

PPDXRangeControl* PPDXControls::FindRangeControl(const char* keyword, const bool& exact) {
  return static_cast<PPDXRangeControl*>(mRanges.Find(keyword, exact));
}

PPDXFloatRangeControl* PPDXControls::FindFloatRangeControl(const char* keyword, const bool& exact) {
  return static_cast<PPDXFloatRangeControl*>(mFloatRanges.Find(keyword, exact));
}

PPDXJobNote* PPDXControls::FindJobNote(const char* keyword, const bool& exact) {
  return static_cast<PPDXJobNote*>(mJobNotes.Find(keyword, exact));
}

PPDXSpecialOption* PPDXControls::FindSpecialOption(const char* keyword, const bool& exact) {
  return static_cast<PPDXSpecialOption*>(mSpecialOptions.Find(keyword, exact));
}

unsigned long PPDXControls::ControlCount() const {
  return PopupCount() + BooleanCount() + RangeCount() + FloatRangeCount() + JobNoteCount() +
         CustomPageSizeCount();
}

unsigned long PPDXControls::Count(const CountArray& counts) const {
  return counts.Count(PPDXDisplayOptions::Options());
}

bool PPDXControls::Empty() const {
  return NoPopups() && NoBooleanControls() && NoRangeControls() && NoFloatRangeControls() &&
         NoJobNotes();
}

short PPDXControls::Save(Settings& settings) {
  short error = SettingsEntryWriter(settings, kControlList.countIndex)
                    .Number<SInt32>(kControlList.countKey, SInt32(mAll.Size()))
                    .Error();
  long index = kControlList.firstIndex;
  CNTL_TYPE type;
  for (PPDXControl* control = First(type); control != nullptr && error == noErr;
       control = Next(type)) {
    error = VisitKind(control, [&](auto* asKind) { return asKind->Save(settings, index); });
    ++index;
  }
  return error;
}

short PPDXControls::Restore(Settings& settings) {
  short error = noErr;
  long index = kControlList.firstIndex;
  CNTL_TYPE type;
  for (PPDXControl* control = First(type); control != nullptr && error == noErr;
       control = Next(type))
    error = control->Restore(settings, index++);
  return error;
}
