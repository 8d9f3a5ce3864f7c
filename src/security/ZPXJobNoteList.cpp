#include "security/ZPXJobNoteList.h"

#include <cstring>
#include <new>

#include "PPDX/PPDObjects/Controls/PPDXJobNote.h"
#include "PPDX/PPDObjects/PPDXControls.h"
#include "PPDX/ZPXPPD.h"
#include "carbon/MacErrors.h"

ZPXJobNoteList::ZPXJobNoteList(ZPXPPD* document, bool keepNotesOn)
    : mError(noErr), mDocument(document), mPageOrientation(0) {
  PPDXControls* controls = document != nullptr ? document->GetControls() : nullptr;
  if (controls == nullptr) return;
  for (PPDXJobNote* control = controls->FirstJobNote(); control != nullptr;
       control = controls->NextJobNote()) {
    ZPXJobNote* note = new (std::nothrow) ZPXJobNote(control, keepNotesOn);
    if (note == nullptr) {
      mError = memFullErr;
      break;
    }
    // Only a list already holding the most elements it can count refuses.
    if (!add(note)) {
      delete note;
      break;
    }
  }
  // The list is valid exactly when every note could be made.
  mValid = mError == noErr;
}

ZPXJobNoteList::~ZPXJobNoteList() = default;

ZPXJobNote* ZPXJobNoteList::find(const char* keyword) const {
  for (LinkElementDualIterator position(*this); *position != nullptr; ++position) {
    const char* own = NoteAt(position)->Control()->Keyword();
    if (keyword != nullptr && own != nullptr && std::strcmp(own, keyword) == 0)
      return NoteAt(position);
  }
  return nullptr;
}

long ZPXJobNoteList::countProtectedFields() const {
  long count = 0;
  for (LinkElementDualIterator position(*this); *position != nullptr; ++position)
    if (NoteAt(position)->Control()->IsPassword()) ++count;
  return count;
}
