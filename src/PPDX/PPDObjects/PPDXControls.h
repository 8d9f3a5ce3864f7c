#pragma once
// The controls of a document (or of one roll-down): every control in the order
// added, and one list per kind with its own cursor and display counters, so that
// the number of displayable controls of a kind is known without a walk. The
// collection borrows its controls; the document deletes each of them once.
//
// The counters take a control's parent and visibility as they are when it is
// added; later changes are not reflected in them.

#include "PPDX/PPDObjects/PPDXControl.h"
#include "foundation/CountArray.h"
#include "foundation/PointerList.h"

class DocumentStorage;
class PPDXBooleanControl;
class PPDXCustomPageSizeControl;
class PPDXFloatRangeControl;
class PPDXJobNote;
class PPDXPopupControl;
class PPDXRangeControl;
class PPDXSpecialOption;
class UIConstraints;

class PPDXControls {
 public:
  PPDXControls();
  // Rebuilds the controls saved in the store, each of the kind its marker names;
  // the caller owns them. Boolean and popup controls report to `constraints`;
  // popup choices, flag words and the collection's list nodes are placed in
  // `storage` when given.
  PPDXControls(Settings& settings, UIConstraints* constraints, DocumentStorage* storage = nullptr);
  virtual ~PPDXControls();

  PPDXControls(const PPDXControls&) = delete;
  PPDXControls& operator=(const PPDXControls&) = delete;

  // The nodes of the lists still empty live in `storage`, which must outlive
  // the collection.
  void PlaceNodesIn(DocumentStorage& storage);

  // Ignores null.
  void Add(PPDXControl* control);

  // The controls the document's display option lets through; `type` receives
  // the kind of the one returned.
  PPDXControl* First(CNTL_TYPE& type);
  PPDXControl* Next(CNTL_TYPE& type);

  // Per kind, one cursor each, every control of the kind whatever the display option.
  PPDXPopupControl* FirstPopupControl();
  PPDXPopupControl* NextPopupControl();
  PPDXBooleanControl* FirstBooleanControl();
  PPDXBooleanControl* NextBooleanControl();
  PPDXRangeControl* FirstRangeControl();
  PPDXRangeControl* NextRangeControl();
  PPDXFloatRangeControl* FirstFloatRangeControl();
  PPDXFloatRangeControl* NextFloatRangeControl();
  PPDXJobNote* FirstJobNote();
  PPDXJobNote* NextJobNote();
  PPDXSpecialOption* FirstSpecialOption();
  PPDXSpecialOption* NextSpecialOption();

  // Exact: the whole keyword, case-sensitively; otherwise the control's keyword
  // need only contain `keyword`. Find looks at displayable controls only and moves
  // the cursor of First and Next; the kinds' finds move their kind's cursor.
  PPDXControl* Find(const char* keyword, CNTL_TYPE& type, const bool& exact);
  PPDXPopupControl* FindPopup(const char* keyword, const bool& exact);
  PPDXBooleanControl* FindBoolean(const char* keyword, const bool& exact);
  PPDXRangeControl* FindRangeControl(const char* keyword, const bool& exact);
  PPDXFloatRangeControl* FindFloatRangeControl(const char* keyword, const bool& exact);
  PPDXJobNote* FindJobNote(const char* keyword, const bool& exact);
  PPDXSpecialOption* FindSpecialOption(const char* keyword, const bool& exact);

  // Displayable controls of a kind under the document's display option (0 under
  // an unknown one).
  unsigned long PopupCount() const { return Count(mPopups.counts); }
  unsigned long BooleanCount() const { return Count(mBooleans.counts); }
  unsigned long RangeCount() const { return Count(mRanges.counts); }
  unsigned long FloatRangeCount() const { return Count(mFloatRanges.counts); }
  unsigned long CustomPageSizeCount() const { return Count(mCustomPageSizes.counts); }
  // Job notes count when visible, attached or not; special options always count.
  unsigned long JobNoteCount() const { return mJobNotes.counts.Count(DISPLAY_VISIBLE); }
  unsigned long SpecialOptionsCount() const { return mSpecialOptions.counts.Count(DISPLAY_ALL); }
  // The options a user can set: special options are not among them.
  unsigned long ControlCount() const;
  unsigned long Count(const CountArray& counts) const;

  bool NoPopups() const { return PopupCount() == 0; }
  bool NoBooleanControls() const { return BooleanCount() == 0; }
  bool NoRangeControls() const { return RangeCount() == 0; }
  bool NoFloatRangeControls() const { return FloatRangeCount() == 0; }
  bool NoJobNotes() const { return JobNoteCount() == 0; }
  bool NoSpecialOptions() const { return SpecialOptionsCount() == 0; }
  // No popup, boolean, range, float range or job note to show.
  bool Empty() const;

  // The number of controls, then each control that First and Next visit, written
  // by its own kind, as kControlList places them.
  short Save(Settings& settings);
  // Takes the values of the existing controls back from the entries Save wrote.
  short Restore(Settings& settings);

 private:
  // The controls of one kind, stored as PPDXControl pointers whose kind was
  // checked when they were added.
  struct KindList {
    PointerList controls;
    PointerListItr cursor;
    CountArray counts;

    void Add(PPDXControl* control);
    PPDXControl* First();
    PPDXControl* Next();
    PPDXControl* Find(const char* keyword, bool exact);
  };

  KindList* ListFor(PPDXJobNote*) { return &mJobNotes; }
  KindList* ListFor(PPDXBooleanControl*) { return &mBooleans; }
  KindList* ListFor(PPDXPopupControl*) { return &mPopups; }
  KindList* ListFor(PPDXRangeControl*) { return &mRanges; }
  KindList* ListFor(PPDXFloatRangeControl*) { return &mFloatRanges; }
  KindList* ListFor(PPDXCustomPageSizeControl*) { return &mCustomPageSizes; }
  KindList* ListFor(PPDXSpecialOption*) { return &mSpecialOptions; }
  KindList* ListFor(PPDXControl*) { return nullptr; }

  PointerList mAll;
  PointerListItr mCursor;
  KindList mPopups;
  KindList mBooleans;
  KindList mRanges;
  KindList mFloatRanges;
  KindList mJobNotes;
  KindList mSpecialOptions;
  KindList mCustomPageSizes;
};
