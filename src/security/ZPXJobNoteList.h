#pragma once
// The job notes of a document, one ZPXJobNote per job-note control in the
// collection's order, built for one output run.

#include "comm/PtrLinkList.h"
#include "security/ZPXJobNote.h"

class ZPXPPD;

class ZPXJobNoteList : public PtrLinkList {
 public:
  // The system builds it with keepNotesOn false (see ZPXJobNote). When a
  // note cannot be allocated the walk stops there, Error() is -108 and the
  // list is not valid.
  ZPXJobNoteList(ZPXPPD* document, bool keepNotesOn);
  ~ZPXJobNoteList() override;

  // The note whose control has exactly that keyword, or null.
  ZPXJobNote* find(const char* keyword) const;
  // How many notes are password fields.
  long countProtectedFields() const;

  short Error() const { return mError; }
  ZPXPPD* Document() const { return mDocument; }
  // The platform's orientation number (1 portrait, 2 landscape, 3 reverse
  // portrait, 4 reverse landscape) once the output has read it; 0 before.
  long PageOrientation() const { return mPageOrientation; }

 private:
  static ZPXJobNote* NoteAt(const LinkElementDualIterator& position) {
    return static_cast<ZPXJobNote*>(*position);
  }

  short mError;
  ZPXPPD* mDocument;
  long mPageOrientation;
};
