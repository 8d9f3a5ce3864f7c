#pragma once
// The controls that the PPD marks as shortcuts (the settings used most), with
// lookups for the well-known ones. The list borrows the controls; an entry may
// be null when a saved shortcut's control could not be found again. Count counts
// every entry, while every walk shows only the popups.

#include "foundation/PointerList.h"

class PPDXControl;
class PPDXControls;
class PPDXPopupControl;
class Settings;

class PPDXShortcuts {
 public:
  // Copies the list of PPDXControl pointers.
  explicit PPDXShortcuts(PointerList& controls);
  // Looks the saved keywords up among the controls that `controls` shows under
  // the document's display option; an empty list without controls.
  PPDXShortcuts(Settings& settings, PPDXControls* controls);
  virtual ~PPDXShortcuts();

  PPDXShortcuts(const PPDXShortcuts&) = delete;
  PPDXShortcuts& operator=(const PPDXShortcuts&) = delete;

  PPDXPopupControl* First();
  PPDXPopupControl* Next();
  // Walks with the cursor of First and Next; exact compares whole keywords,
  // otherwise a keyword containing `keyword` matches.
  PPDXPopupControl* Find(const char* keyword, const bool& exact);

  unsigned long Count() const { return mControls.Size(); }
  bool Empty() const { return mControls.Empty(); }

  PPDXPopupControl* InputSlot();
  PPDXPopupControl* Duplex();
  PPDXPopupControl* PageSize();
  PPDXPopupControl* Orientation();
  // No PPD names these two yet: their keywords are placeholders that no control
  // can carry, so they find nothing.
  PPDXPopupControl* MediaSource();
  PPDXPopupControl* Tintora();

  // The count, then the keyword of each shortcut, as kShortcutList places them.
  short Save(Settings& settings);

 private:
  // The first popup from `control` on in the walk; the cursor stays on it.
  PPDXPopupControl* PopupFrom(PPDXControl* control);

  PointerList mControls;
  PointerListItr mCursor;
};
